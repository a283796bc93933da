// The catalogue on 10,000 entries: one sort per column, and rebuilding the visible list through three
// filters. ZENTROVA_CORPUS_2MP names the corpus folder (default /tmp/corpus2mp, from make_corpus.sh).
#include "data/FileSortComparator.h"
#include "models/FileTableModel.h"

#include <QCoreApplication>
#include <QDirIterator>

#include <benchmark/benchmark.h>

using namespace zentrova;

namespace {

const QStringList& entries()
{
    static const QStringList files = [] {
        const QByteArray dir = qgetenv("ZENTROVA_CORPUS_2MP");
        QDirIterator it(dir.isEmpty() ? QStringLiteral("/tmp/corpus2mp") : QString::fromLocal8Bit(dir), QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList out;
        while (it.hasNext() && out.size() < 10000)
            out << it.next();
        return out;
    }();
    return files;
}

void BM_SortByColumn(benchmark::State& state)
{
    if (entries().isEmpty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    FileTableModel model;
    model.setFiles(entries());
    const QString column = FileTableModel::COLUMN_NAMES[int(state.range(0))];
    bool descending = false;
    for (auto _ : state) {
        model.sort(column, descending);
        descending = !descending;
    }
    state.SetLabel(column.toStdString());
    state.SetItemsProcessed(int64_t(state.iterations()) * entries().size());
}
BENCHMARK(BM_SortByColumn)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_RebuildThroughThreeFilters(benchmark::State& state)
{
    if (entries().isEmpty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    FileTableModel model;
    model.setFiles(entries());
    using P = TableFileNameFilter::Position;
    model.addFilter({"IMG", true, P::BEGINS_WITH, false});
    model.addFilter({".png", false, P::ENDS_WITH, true});
    model.addFilter({"1", true, P::CONTAINS, true});
    for (auto _ : state)
        model.fireDataChangedEvent();
    state.counters["visible"] = model.getRowCount();
}
BENCHMARK(BM_RebuildThroughThreeFilters)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the model posts nothing here, but Qt objects want an application
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
