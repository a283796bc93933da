// Copy throughput of FileUtil::copyFile (4096-byte buffer) and the cost of an atomic settings write.
// Run: build/bench/bench_fileutil [--benchmark_filter=...]; ZENTROVA_CORPUS=<folder> copies a real corpus.
#include "util/AtomicFile.h"
#include "util/FileUtil.h"
#include "util/XmlProperties.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zentrova;

static void BM_CopyFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("src.jpg");
    {
        QFile f(src);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(state.range(0), 'x'));
    }
    for (auto _ : state) {
        QString error;
        if (!FileUtil::copyFile(src, dir.filePath("dst.jpg"), nullptr, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CopyFile)->Arg(2 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

static void BM_CopyCorpus(benchmark::State& state)
{
    const QString corpus = qEnvironmentVariable("ZENTROVA_CORPUS");
    if (corpus.isEmpty()) {
        state.SkipWithError("set ZENTROVA_CORPUS to a folder made by make_corpus.sh");
        return;
    }
    QStringList files;
    QDirIterator it(corpus, {"*.jpg", "*.JPG", "*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && files.size() < 200)
        files << it.next();
    QTemporaryDir out;
    qint64 bytes = 0;
    for (auto _ : state) {
        for (int i = 0; i < files.size(); ++i) {
            FileUtil::copyFile(files[i], out.filePath(QString::number(i)));
            bytes += QFileInfo(files[i]).size();
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["files/s"] = benchmark::Counter(double(files.size()) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CopyCorpus)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_StoreProps(benchmark::State& state)
{
    QTemporaryDir dir;
    const Properties props{{"lastdir", "/home/user/Pictures"}, {"logging", "true"}, {"lastfile", "/x/y.jpg"}};
    for (auto _ : state)
        AtomicFile::writeAll(dir.filePath("Zentrova.props"), XmlProperties::write(props, "ImageTagFrame properties"));
}
BENCHMARK(BM_StoreProps)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
