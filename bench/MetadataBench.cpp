// Picture metadata and image throughput on photo corpora made by ../shared/bench/make_corpus.sh:
//   ZENTROVA_CORPUS_2MP   (default /tmp/corpus2mp)   10,000 × 2 MP, for reading dates and album names
//   ZENTROVA_CORPUS_12MP  (default /tmp/corpus12mp)  1,000 × 12 MP, for album writes, decoding and resampling
// The album-write benchmarks work on a copy in ZENTROVA_BENCH_WORK (default /tmp/zentrova-bench-work).
#include "image/ExifTagUtil.h"
#include "image/ImageDateTime.h"
#include "image/ImageIO.h"
#include "image/Resampler.h"
#include "util/FileUtil.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

using namespace zentrova;

namespace {

QString envOr(const char* name, const char* fallback)
{
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? QString::fromLatin1(fallback) : QString::fromLocal8Bit(v);
}

QStringList jpegsIn(const QString& dir, int limit = 1 << 30)
{
    QStringList files;
    QDirIterator it(dir, {"*.jpg", "*.JPG"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && files.size() < limit)
        files << it.next();
    files.sort();
    return files;
}

const QStringList& corpus2mp()
{
    static const QStringList files = jpegsIn(envOr("ZENTROVA_CORPUS_2MP", "/tmp/corpus2mp"));
    return files;
}

const QStringList& corpus12mp()
{
    static const QStringList files = jpegsIn(envOr("ZENTROVA_CORPUS_12MP", "/tmp/corpus12mp"));
    return files;
}

// A private copy of the 12 MP corpus that writes may change.
const QStringList& workCopy()
{
    static const QStringList files = [] {
        const QString work = envOr("ZENTROVA_BENCH_WORK", "/tmp/zentrova-bench-work");
        QDir(work).removeRecursively();
        QDir().mkpath(work);
        QStringList out;
        int i = 0;
        for (const QString& f : corpus12mp()) {
            const QString copy = work + QString("/IMG_%1.jpg").arg(i++, 4, 10, QLatin1Char('0'));
            FileUtil::copyFile(f, copy);
            out << copy;
        }
        return out;
    }();
    return files;
}

bool needs(benchmark::State& state, const QStringList& files)
{
    if (files.isEmpty()) {
        state.SkipWithError("corpus not found (see the comment at the top of bench/MetadataBench.cpp)");
        return false;
    }
    return true;
}

void BM_ReadDateAndAlbums(benchmark::State& state)
{
    const QStringList& files = corpus2mp();
    if (!needs(state, files))
        return;
    std::size_t dated = 0, tagged = 0;
    for (auto _ : state)
        for (const QString& f : files) {
            dated += ImageDateTime::getImageDateTime(f).has_value();
            tagged += !ExifTagUtil::getAlbumTags(f).isEmpty();
        }
    benchmark::DoNotOptimize(dated + tagged);
    state.SetItemsProcessed(int64_t(state.iterations()) * files.size());
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()) * files.size(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadDateAndAlbums)->Unit(benchmark::kMillisecond)->MinTime(2);

// The floor for a safe rewrite: copy to a temporary file, fsync, rename over the original.
void BM_SafeCopyFloor(benchmark::State& state)
{
    const QStringList& files = workCopy();
    if (!needs(state, files))
        return;
    std::vector<char> buffer(1 << 20);
    for (auto _ : state)
        for (const QString& f : files) {
            const QByteArray src = QFile::encodeName(f), tmp = src + ".floor";
            const int in = ::open(src.constData(), O_RDONLY), out = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ssize_t n;
            while ((n = ::read(in, buffer.data(), buffer.size())) > 0)
                (void)!::write(out, buffer.data(), size_t(n));
            ::fsync(out);
            ::close(out);
            ::close(in);
            ::rename(tmp.constData(), src.constData());
        }
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()) * files.size(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SafeCopyFloor)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_AlbumAdd(benchmark::State& state)
{
    const QStringList& files = workCopy();
    if (!needs(state, files))
        return;
    int ok = 0, round = 0;
    for (auto _ : state) {
        const QString album = QString("Bench%1").arg(round++);
        for (const QString& f : files)
            ok += ExifTagUtil::addImageAlbumTag(f, album, false);
    }
    if (ok != int(state.iterations()) * files.size())
        state.SkipWithError("an album write failed");
    state.counters["files_per_s"] = benchmark::Counter(double(state.iterations()) * files.size(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AlbumAdd)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_Decode12MP(benchmark::State& state)
{
    const QStringList& files = corpus12mp();
    if (!needs(state, files))
        return;
    const QSize box = state.range(0) ? QSize(1000, 750) : QSize(); // a quarter of each side
    std::size_t i = 0;
    for (auto _ : state) {
        const QImage image = ImageIO::read(files[int(i++ % std::size_t(files.size()))], nullptr, box);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Decode12MP)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);

// Display-sized copy: reduced decode, cubic resample to 1024 × 768, JPEG encode.
void BM_Resample12MPTo1024(benchmark::State& state)
{
    const QStringList& files = corpus12mp();
    if (!needs(state, files))
        return;
    std::size_t i = 0;
    QByteArray encoded;
    for (auto _ : state) {
        const QImage image = ImageIO::read(files[int(i++ % std::size_t(files.size()))], nullptr, QSize(1024, 768));
        const QImage small = Resampler::resample(image, QSize(1024, 768));
        ImageIO::encode(small, "jpg", &encoded);
        benchmark::DoNotOptimize(encoded.constData());
    }
}
BENCHMARK(BM_Resample12MPTo1024)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

BENCHMARK_MAIN();
