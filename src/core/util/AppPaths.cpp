#include "util/AppPaths.h"

#include "util/Console.h"
#include "util/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>

namespace zentrova {

namespace {
std::mutex ensureMutex;
bool ensured = false;

bool makeFolder(const QString& path)
{
    return QFileInfo(path).isDir() || QDir().mkpath(path);
}
} // namespace

void AppPaths::init()
{
    HOME = qEnvironmentVariable("HOME");
    if (HOME.isEmpty())
        HOME = QDir::homePath();
    HOME = QDir::cleanPath(HOME);
    APP_DIR = HOME + QStringLiteral("/tolvex");
    TMP_DIR = APP_DIR + QStringLiteral("/tmp");
    PROPS_FILE = APP_DIR + QStringLiteral("/Zentrova.props");
    TAG_FILE = APP_DIR + QStringLiteral("/Zentrova.tags");
    MODEL_FILTER_FILE = APP_DIR + QStringLiteral("/Zentrova.filters");
    STARTDIR_FILE = APP_DIR + QStringLiteral("/Zentrova.startdir");
    IMPORT_DIR_FILE = APP_DIR + QStringLiteral("/file_import_lastfir.bin");
    RENAME_DIR_FILE = APP_DIR + QStringLiteral("/last_rename_dir.bin");
    SCALING_PROPS_FILE = APP_DIR + QStringLiteral("/ScalingDialog.props");
    std::lock_guard lock(ensureMutex);
    ensured = false;
}

bool AppPaths::setUp(QString* failedPath)
{
    if (APP_DIR.isEmpty())
        init();
    for (const QString& folder : {APP_DIR, TMP_DIR}) {
        if (!makeFolder(folder)) {
            if (failedPath)
                *failedPath = folder;
            return false;
        }
    }
    cleanTmpDir();
    return true;
}

void AppPaths::cleanTmpDir()
{
    const QFileInfoList entries = QDir(TMP_DIR).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        const bool removed = (entry.isDir() && !entry.isSymLink()) ? FileUtil::removeDirectory(entry.filePath())
                                                                   : QFile::remove(entry.filePath());
        if (!removed)
            Console::err(QStringLiteral("Unable to remove file: ") + entry.filePath());
    }
}

bool AppPaths::ensureAppDir()
{
    if (APP_DIR.isEmpty())
        init();
    std::lock_guard lock(ensureMutex);
    if (!ensured)
        ensured = makeFolder(APP_DIR);
    return ensured;
}

} // namespace zentrova
