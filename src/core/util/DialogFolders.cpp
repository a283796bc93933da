#include "util/DialogFolders.h"

#include "util/AppPaths.h"
#include "util/Console.h"
#include "util/ValueFile.h"

#include <QFileInfo>

namespace zentrova::DialogFolders {

namespace {
// The stored folder if the file can be read, names a folder and that folder still exists.
QString storedFolderOrHome(const QString& file)
{
    QString error;
    const auto dir = ValueFile::readText(file, &error);
    if (!dir) {
        Console::err(error);
        return AppPaths::HOME;
    }
    if (dir->isEmpty() || !QFileInfo(*dir).isDir())
        return AppPaths::HOME;
    return *dir;
}

void storeIfExists(const QString& file, const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    QString error;
    if (!ValueFile::writeText(file, QFileInfo(folder).absoluteFilePath(), &error))
        Console::err(error);
}
} // namespace

QString importChooserFolder()
{
    if (!QFileInfo::exists(AppPaths::IMPORT_DIR_FILE)) {
        QString error;
        if (!ValueFile::writeText(AppPaths::IMPORT_DIR_FILE, AppPaths::HOME, &error))
            Console::err(error);
        return AppPaths::HOME;
    }
    return storedFolderOrHome(AppPaths::IMPORT_DIR_FILE);
}

void storeImportDestination(const QString& chosenDestination)
{
    storeIfExists(AppPaths::IMPORT_DIR_FILE, QFileInfo(chosenDestination).absolutePath());
}

QString renameOutputFolder()
{
    if (!QFileInfo::exists(AppPaths::RENAME_DIR_FILE))
        return AppPaths::HOME;
    return storedFolderOrHome(AppPaths::RENAME_DIR_FILE);
}

QString renameChooserFolder()
{
    return QFileInfo(renameOutputFolder()).absolutePath();
}

void storeRenameOutputFolder(const QString& folder)
{
    storeIfExists(AppPaths::RENAME_DIR_FILE, folder);
}

} // namespace zentrova::DialogFolders
