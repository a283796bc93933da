// The image pane: setFile until the picture is painted, for 12 MP and 24 MP JPEGs, against a plain full
// decode of the same file with libjpeg-turbo; and the memory a slide show of 50 different 12 MP pictures
// needs. Corpora: ZENTROVA_CORPUS_12MP (default /tmp/corpus12mp) and ZENTROVA_CORPUS_24MP (default
// /tmp/corpus24mp, e.g. make_corpus.sh -n 3 -b 1 -s 6000x4000). Runs on the offscreen platform.
#include "image/TransitionEffect.h"
#include "thread/SlideTimer.h"
#include "ui/SlidePane.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include <jpeglib.h>

using namespace zentrova;

namespace {

QStringList jpegs(const char* variable, const char* fallback, int limit)
{
    const QByteArray dir = qgetenv(variable);
    QDirIterator it(dir.isEmpty() ? QString::fromLatin1(fallback) : QString::fromLocal8Bit(dir), {"*.jpg", "*.JPG"}, QDir::Files,
                    QDirIterator::Subdirectories);
    QStringList out;
    while (it.hasNext() && out.size() < limit)
        out << it.next();
    out.sort();
    return out;
}

QStringList corpus(int megapixels, int limit)
{
    return megapixels == 24 ? jpegs("ZENTROVA_CORPUS_24MP", "/tmp/corpus24mp", limit) : jpegs("ZENTROVA_CORPUS_12MP", "/tmp/corpus12mp", limit);
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

struct Failure {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// What any program must do to show the picture at all: read the file and decode every pixel.
bool plainDecode(const QString& path, std::vector<unsigned char>& pixels)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    jpeg_decompress_struct info;
    Failure err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr i) { std::longjmp(reinterpret_cast<Failure*>(i->err)->jump, 1); };
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    pixels.resize(std::size_t(info.output_width) * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * info.output_width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Registered first: the process's peak memory is otherwise that of the benchmarks before it.
void BM_SlideShowMemory50(benchmark::State& state)
{
    const QStringList files = corpus(12, 50);
    if (files.size() < 50) {
        state.SkipWithError("needs 50 pictures of 12 MP");
        return;
    }
    const double base = peakMegabytes();
    for (auto _ : state) {
        SlidePane pane;
        pane.resize(1280, 800);
        pane.show();
        pane.setTransEffect(TransitionEffect::TRANSITION_EFFECT_HORIZONTAL);
        pane.setDoNotTransition(false);
        pane.setStepDelays(0, 0);
        SlideTimer timer(&pane, files);
        timer.setTimeScale(0.001);
        int seen = 0;
        timer.start();
        QElapsedTimer clock;
        clock.start();
        while (seen < 50 && clock.elapsed() < 120000) {
            QCoreApplication::processEvents();
            if (const std::optional<QString> f = timer.getIndexedFile(); f && files.indexOf(*f) + 1 > seen)
                seen = int(files.indexOf(*f)) + 1;
        }
        timer.setDone(true);
        timer.wait();
        pane.waitForTransition();
        state.counters["pictures"] = seen;
    }
    const double picture = 4000.0 * 3000 * 4 / (1024 * 1024);
    state.counters["peak_growth_MB"] = peakMegabytes() - base;
    state.counters["three_pictures_MB"] = 3 * picture;
}
BENCHMARK(BM_SlideShowMemory50)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetFileToFirstPaint(benchmark::State& state)
{
    const QStringList files = corpus(int(state.range(0)), 2);
    if (files.isEmpty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    SlidePane pane;
    pane.resize(1280, 800);
    pane.setTransEffect(TransitionEffect::TRANSITION_EFFECT_NONE);
    pane.show();
    int i = 0;
    for (auto _ : state) {
        pane.setFile(files[i++ % files.size()]);
        pane.repaint();
    }
}
BENCHMARK(BM_SetFileToFirstPaint)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_PlainFullDecode(benchmark::State& state)
{
    const QStringList files = corpus(int(state.range(0)), 2);
    if (files.isEmpty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    std::vector<unsigned char> pixels;
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(plainDecode(files[i++ % files.size()], pixels));
}
BENCHMARK(BM_PlainFullDecode)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
