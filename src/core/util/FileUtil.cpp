#include "util/FileUtil.h"

#include "util/AtomicFile.h"
#include "util/ProgressTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zentrova::FileUtil {

namespace {
QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

class Fd {
public:
    explicit Fd(int f = -1) : fd(f) {}
    ~Fd() { close(); }
    int get() const { return fd; }
    int close()
    {
        int r = 0;
        if (fd >= 0)
            r = ::close(fd);
        fd = -1;
        return r;
    }

private:
    int fd;
};

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    if (::stat(native(a).constData(), &sa) != 0 || ::stat(native(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool copyFile(const QString& infile, const QString& outfile, ProgressTarget* bar, QString* error)
{
    struct stat srcStat {};
    const bool haveTime = ::stat(native(infile).constData(), &srcStat) == 0;

    Fd in(::open(native(infile).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return fail(error, systemErrorText(infile, errno));
    struct stat opened {};
    if (::fstat(in.get(), &opened) == 0 && S_ISDIR(opened.st_mode))
        return fail(error, systemErrorText(infile, EISDIR));

    // Opening the destination with truncation would destroy the source when both are one file.
    if (isSameFile(infile, outfile))
        return fail(error, QStringLiteral("Cannot copy a file onto itself: ") + infile);

    const int maximum = opened.st_size > INT_MAX ? INT_MAX : static_cast<int>(opened.st_size);

    Fd out(::open(native(outfile).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.get() < 0)
        return fail(error, systemErrorText(outfile, errno));

    if (bar)
        bar->setDeterminate(0, maximum, 0);

    char buffer[BUFFER_SIZE];
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(error, systemErrorText(infile, errno));
        }
        if (n == 0)
            break;
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(out.get(), buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return fail(error, systemErrorText(outfile, errno));
            }
            done += w;
        }
        std::this_thread::yield();
        total += n;
        if (bar)
            bar->setValue(total > INT_MAX ? INT_MAX : static_cast<int>(total));
    }
    if (out.close() != 0)
        return fail(error, systemErrorText(outfile, errno));
    if (haveTime) {
        const struct timespec times[2] = {srcStat.st_atim, srcStat.st_mtim};
        ::utimensat(AT_FDCWD, native(outfile).constData(), times, 0);
    }
    return true;
}

bool moveFile(const QString& src, const QString& dest, ProgressTarget* bar, QString* error)
{
    if (!copyFile(src, dest, bar, error))
        return false;
    if (bar)
        bar->setIndeterminate(true);
    if (::unlink(native(src).constData()) != 0)
        return fail(error, QStringLiteral("Cannot remove soucre file: ") + QFileInfo(src).fileName());
    return true;
}

bool removeDirectory(const QString& dir)
{
    const QFileInfo info(dir);
    if (!info.isDir() || info.isSymLink())
        return false;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        // A link to a folder is removed as a link; what it points at is not ours to delete.
        const bool removed = (entry.isDir() && !entry.isSymLink())
                                 ? removeDirectory(entry.filePath())
                                 : ::unlink(native(entry.filePath()).constData()) == 0;
        if (!removed)
            return false;
    }
    return ::rmdir(native(dir).constData()) == 0;
}

QDateTime modificationTime(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QDateTime::fromMSecsSinceEpoch(0);
    return QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
}

} // namespace zentrova::FileUtil
