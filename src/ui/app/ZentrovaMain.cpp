#include "app/ZentrovaMain.h"

#include "ui/AboutDialog.h"
#include "ui/Resources.h"
#include "ui/WidgetPrompter.h"
#include "ui/ZentrovaFrame.h"
#include "util/AppPaths.h"
#include "util/CommandLine.h"
#include "util/Console.h"
#include "util/DeleteOnExit.h"
#include "util/RuntimeInfo.h"
#include "util/StartDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace zentrova {

namespace {
const QString X_RESOURCE = QStringLiteral("*.multiClickTime: 500");
} // namespace

QString ZentrovaMain::initLinux(const QString& xrdbProgram)
{
    QString path;
    QFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = QDir(QDir::tempPath()).absoluteFilePath(
            QStringLiteral("tolvex%1tmp").arg(QRandomGenerator::global()->generate64()));
        file.setFileName(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
    }
    if (!file.isOpen()) {
        const QString message = QStringLiteral("Unable to create temporary file: ") + file.errorString();
        AboutDialog::logMessage(message);
        Console::err(message);
        return {};
    }
    DeleteOnExit::add(path);
    if (file.write(X_RESOURCE.toLatin1()) != X_RESOURCE.size() || !file.flush()) {
        const QString message = path + QStringLiteral(" (") + file.errorString() + QLatin1Char(')');
        AboutDialog::logMessage(message);
        Console::err(message);
        return {};
    }
    file.close();
    const QString command = xrdbProgram + QStringLiteral(" -merge ") + path;
    if (!QProcess::startDetached(xrdbProgram, {QStringLiteral("-merge"), path})) {
        const QString message = QStringLiteral("Cannot run program \"") + xrdbProgram
                                + QStringLiteral("\": No such file or directory");
        AboutDialog::logMessage(message);
        Console::err(message);
        return {};
    }
    const QString text = QStringLiteral("Creating file: ") + path + QStringLiteral("\n") + QStringLiteral("Writing: \"")
                         + X_RESOURCE + QStringLiteral("\" to file\n") + QStringLiteral("Running command: \"")
                         + command + QStringLiteral("\"\n") + QStringLiteral("Initialization for Linux complete...");
    AboutDialog::logMessage(text);
    Console::out(text);
    return text;
}

void ZentrovaMain::exitNow(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
    DeleteOnExit::removeAll();
    std::_Exit(status);
}

int ZentrovaMain::main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    QApplication app(argc, argv);
    Resources::init();

    const std::optional<QString> folder = CommandLine::findFolder(args);
    AboutDialog::setStartupFacts(args, folder);
    QThread::currentThread()->setPriority(QThread::HighestPriority);
    const QString os = RuntimeInfo::osName();
    AboutDialog::logMessage(QStringLiteral("Loading on ") + os);
    if (os.compare(QLatin1String("Linux"), Qt::CaseInsensitive) == 0)
        initLinux();

    AppPaths::init();
    QString failed;
    if (!AppPaths::setUp(&failed)) {
        Console::err(QStringLiteral("Unable to create: ") + failed);
        return 1;
    }

    WidgetPrompter prompter;
    Prompter::setCurrent(&prompter);
    ZentrovaFrame frame(StartDir::loadStartDir(), &prompter);
    prompter.setOwner(&frame);
    if (folder)
        Console::err(QStringLiteral("Importing from a folder is not part of this build yet; ignoring ") + *folder);
    frame.showMaximized();
    const int status = app.exec();
    Prompter::setCurrent(nullptr);
    return status;
}

} // namespace zentrova
