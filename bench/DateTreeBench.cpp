// Building the date tree for the 10,000-file corpus (ZENTROVA_CORPUS_2MP, default /tmp/corpus2mp). The
// first, untimed build stamps the JPEGs that lack a CreateDate, so the timed builds only read dates.
#include "data/FileDateTreeRoot.h"

#include <QCoreApplication>
#include <QDirIterator>

#include <benchmark/benchmark.h>

using namespace zentrova;

namespace {

void BM_BuildDateTree(benchmark::State& state)
{
    const QByteArray dir = qgetenv("ZENTROVA_CORPUS_2MP");
    QDirIterator it(dir.isEmpty() ? QStringLiteral("/tmp/corpus2mp") : QString::fromLocal8Bit(dir), {"*.jpg", "*.JPG", "*.png"},
                    QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext() && files.size() < 10000)
        files << it.next();
    if (files.isEmpty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    FileDateTreeRoot warm(files);
    for (auto _ : state) {
        FileDateTreeRoot root(files);
        benchmark::DoNotOptimize(root.childCount());
    }
    state.counters["files"] = double(files.size());
    state.counters["years"] = warm.childCount();
}
BENCHMARK(BM_BuildDateTree)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
