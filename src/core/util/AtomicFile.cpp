#include "util/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova {

QString systemErrorText(const QString& path, int errorNumber)
{
    return path + QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(errorNumber)) + QLatin1Char(')');
}

namespace {
QString resolveLinks(const QString& path)
{
    QFileInfo info(path);
    int hops = 0;
    while (info.isSymLink() && hops++ < 40) {
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            break;
        info = QFileInfo(target);
    }
    return info.absoluteFilePath();
}
} // namespace

AtomicFile::AtomicFile(const QString& target) : resolved(resolveLinks(target)) {}

AtomicFile::~AtomicFile()
{
    abort();
}

bool AtomicFile::open(QString* error)
{
    abort();
    const QFileInfo info(resolved);
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                           + QStringLiteral(".XXXXXX"));
    fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        if (error)
            *error = systemErrorText(info.absolutePath(), errno);
        return false;
    }
    tempPath = QFile::decodeName(pattern);
    struct stat st {};
    const QByteArray native = QFile::encodeName(resolved);
    if (::stat(native.constData(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    return true;
}

bool AtomicFile::write(const char* data, qint64 size, QString* error)
{
    if (fd < 0) {
        if (error)
            *error = QStringLiteral("File not open: ") + resolved;
        return false;
    }
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = systemErrorText(tempPath, errno);
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

namespace {
// A rename that refuses to replace an existing file; link + unlink where the file system lacks the flag.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    if (::link(from.constData(), to.constData()) != 0)
        return -1;
    ::unlink(from.constData());
    return 0;
}
} // namespace

bool AtomicFile::commit(QString* error, bool replaceExisting)
{
    if (fd < 0) {
        if (error)
            *error = QStringLiteral("File not open: ") + resolved;
        return false;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int e = errno;
        fd = -1;
        if (error)
            *error = systemErrorText(tempPath, e);
        abort();
        return false;
    }
    fd = -1;
    const QByteArray from = QFile::encodeName(tempPath);
    const QByteArray to = QFile::encodeName(resolved);
    if ((replaceExisting ? ::rename(from.constData(), to.constData()) : renameNoReplace(from, to)) != 0) {
        if (error)
            *error = systemErrorText(resolved, errno);
        abort();
        return false;
    }
    tempPath.clear();
    // Make the rename itself durable.
    const QByteArray dir = QFile::encodeName(QFileInfo(resolved).absolutePath());
    const int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

void AtomicFile::abort()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!tempPath.isEmpty()) {
        ::unlink(QFile::encodeName(tempPath).constData());
        tempPath.clear();
    }
}

bool AtomicFile::writeAll(const QString& target, const QByteArray& data, QString* error)
{
    std::lock_guard lock(lockFor(target));
    AtomicFile file(target);
    return file.open(error) && file.write(data, error) && file.commit(error);
}

bool AtomicFile::readAll(const QString& path, QByteArray* data, QString* error)
{
    std::lock_guard lock(lockFor(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral(" (") + file.errorString() + QLatin1Char(')');
        return false;
    }
    *data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = path + QStringLiteral(" (") + file.errorString() + QLatin1Char(')');
        return false;
    }
    return true;
}

std::mutex& AtomicFile::lockFor(const QString& path)
{
    static std::mutex mapMutex;
    static std::map<QString, std::unique_ptr<std::mutex>> locks;
    const QString key = QFileInfo(path).absoluteFilePath();
    std::lock_guard lock(mapMutex);
    auto& slot = locks[key];
    if (!slot)
        slot = std::make_unique<std::mutex>();
    return *slot;
}

} // namespace zentrova
