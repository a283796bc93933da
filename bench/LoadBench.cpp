// The main window loading the 10,000-file corpus (ZENTROVA_CORPUS_2MP, default /tmp/corpus2mp): the time
// from loadFiles to the view tabs enabled, and the longest stall of the UI thread meanwhile (a 2 ms timer
// on the UI thread notes every gap). Offscreen; the home folder is a temporary one.
#include "models/FileTableModel.h"
#include "ui/ZentrovaFrame.h"
#include "util/AppPaths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace zentrova;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    AppPaths::init();
    AppPaths::ensureAppDir();
    const QByteArray corpus = qgetenv("ZENTROVA_CORPUS_2MP");
    const QString folder = corpus.isEmpty() ? QStringLiteral("/tmp/corpus2mp") : QString::fromLocal8Bit(corpus);
    ZentrovaFrame frame(std::nullopt, nullptr, 0);
    frame.resize(1280, 800);
    for (int round = 0; round < 4; ++round) { // the first round warms the caches (and stamps missing dates)
        qint64 longest = 0, last = 0;
        QElapsedTimer clock;
        QTimer tick;
        tick.setInterval(2);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        tick.start();
        frame.loadDir(folder, true);
        QCoreApplication::processEvents();
        while (!frame.views().jtpFileViews->isTabEnabled(0) || frame.catalogue().getRowCount() == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const qint64 enabled = clock.elapsed();
        frame.waitForLoads();
        tick.stop();
        std::printf("round %d: %d files, tabs enabled after %lld ms, load done after %lld ms, longest UI stall %lld ms%s\n", round,
                    frame.catalogue().getRowCount(), static_cast<long long>(enabled), static_cast<long long>(clock.elapsed()),
                    static_cast<long long>(longest), round == 0 ? " (cold)" : "");
        // The next round starts from disabled tabs again.
        for (int i = 2; i >= 0; --i)
            frame.views().jtpFileViews->setTabEnabled(i, false);
    }
    return 0;
}
