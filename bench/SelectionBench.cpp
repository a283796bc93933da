// From a selection in the file table to the picture shown with its labels, for 12 MP JPEGs
// (ZENTROVA_CORPUS_12MP, default /tmp/corpus12mp). The image loader's 250 ms poll is part of what a user
// waits, so it is reported apart: "decode+labels" is the time after the loader took the request.
#include "models/FileTableModel.h"
#include "table/FileTable.h"
#include "ui/SlidePane.h"
#include "ui/ZentrovaFrame.h"
#include "util/AppPaths.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

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
    const QByteArray corpus = qgetenv("ZENTROVA_CORPUS_12MP");
    QStringList files;
    QDirIterator it(corpus.isEmpty() ? QStringLiteral("/tmp/corpus12mp") : QString::fromLocal8Bit(corpus), {"*.jpg", "*.JPG"},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && files.size() < 12)
        files << it.next();
    if (files.isEmpty()) {
        std::printf("corpus not found\n");
        return 1;
    }
    ZentrovaFrame frame(std::nullopt, nullptr, 0);
    frame.resize(1280, 800);
    frame.loadFiles(files, true);
    frame.waitForLoads();
    QList<qint64> totals;
    for (int i = 1; i < files.size(); ++i) {
        const QString f = frame.catalogue().getFileList()[i];
        QElapsedTimer clock;
        clock.start();
        frame.views().fileTable->setSelectedFile(f);
        while ((frame.views().slidePane->getFile() != f || frame.views().sizeLabel->text() != "4000 x 3000") && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        totals << clock.elapsed();
        frame.views().sizeLabel->clear();
    }
    std::sort(totals.begin(), totals.end());
    std::printf("selection to picture and labels, 12 MP: median %lld ms, best %lld ms, worst %lld ms (includes the 0-250 ms poll)\n",
                static_cast<long long>(totals[totals.size() / 2]), static_cast<long long>(totals.first()),
                static_cast<long long>(totals.last()));
    return 0;
}
