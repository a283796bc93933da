#include "util/StartDir.h"

#include "util/AppPaths.h"
#include "util/Console.h"
#include "util/ValueFile.h"

#include <QFile>
#include <QFileInfo>

#include <mutex>

namespace zentrova {

namespace {
std::mutex dirMutex;
std::optional<QString> current;
} // namespace

std::optional<QString> StartDir::loadStartDir()
{
    setStartUpDir(std::nullopt);
    if (!QFileInfo::exists(AppPaths::STARTDIR_FILE))
        return std::nullopt;
    QString error;
    const auto dir = ValueFile::readText(AppPaths::STARTDIR_FILE, &error);
    if (!dir) {
        Console::err(error);
        return std::nullopt;
    }
    if (dir->isEmpty() || !QFileInfo::exists(*dir))
        return std::nullopt;
    setStartUpDir(*dir);
    return dir;
}

bool StartDir::storeStartDir()
{
    const auto dir = startUpDir();
    if (!dir || !QFileInfo::exists(*dir))
        return false;
    QString error;
    if (!ValueFile::writeText(AppPaths::STARTDIR_FILE, *dir, &error)) {
        Console::err(error);
        return false;
    }
    return true;
}

std::optional<QString> StartDir::startUpDir()
{
    std::lock_guard lock(dirMutex);
    return current;
}

void StartDir::setStartUpDir(const std::optional<QString>& dir)
{
    std::lock_guard lock(dirMutex);
    current = dir;
}

bool StartDir::removeStartDirFile()
{
    QFile file(AppPaths::STARTDIR_FILE);
    return !file.exists() || file.remove();
}

} // namespace zentrova
