#include "image/ExifFile.h"

#include "image/ExivMetadata.h"
#include "image/JpegSegments.h"
#include "util/AtomicFile.h"
#include "util/DeleteOnExit.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zentrova {

namespace {

bool setFailure(ExifFile::Failure* failure, ExifFile::Failure f, QString* error, const QString& text)
{
    if (failure)
        *failure = f;
    if (error)
        *error = text;
    return false;
}

bool writeFully(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// Copies [from, end of file) of the source to the end of the output, in the kernel where it can.
bool copyRest(int in, qint64 from, qint64 size, int out)
{
    loff_t inOff = from;
    bool kernel = true;
    while (inOff < size && kernel) {
        const ssize_t n = copy_file_range(in, &inOff, out, nullptr, size_t(size - inOff), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            kernel = false; // not offered here (other file system, old kernel): copy by hand
    }
    static thread_local std::vector<char> buffer(1 << 20);
    while (inOff < size) {
        const ssize_t n = pread(in, buffer.data(), std::min<qint64>(qint64(buffer.size()), size - inOff), inOff);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || !writeFully(out, buffer.data(), n))
            return false;
        inOff += n;
    }
    return true;
}

// Our own reading of the rewritten copy must find exactly the change.
bool checkOwnReading(const QString& path, const ExifChange& change, QString* error)
{
    JpegHeader header;
    if (!header.read(path, JpegHeader::Walk::UNTIL_SCAN, error))
        return false;
    TiffBlock block;
    if (header.exifSegments != 1 || !block.parse(header.exifTiff(), error)) {
        if (error && header.exifSegments != 1)
            *error = QStringLiteral("rewritten file holds %1 EXIF segments").arg(header.exifSegments);
        return false;
    }
    const TiffIfd* exif = block.directory(IfdKind::EXIF);
    for (const ExifField& f : change.addToExif) {
        const TiffEntry* e = exif ? exif->find(f.tag) : nullptr;
        if (!e || e->type != f.type || block.value(*e) != f.value || block.findFirst(f.tag) != e) {
            if (error)
                *error = QStringLiteral("rewritten EXIF field 0x%1 does not read back").arg(f.tag, 4, 16, QLatin1Char('0'));
            return false;
        }
    }
    for (uint16_t tag : change.removeEverywhere) {
        const bool added = std::any_of(change.addToExif.begin(), change.addToExif.end(), [tag](const ExifField& f) { return f.tag == tag; });
        if (!added && block.findFirst(tag)) {
            if (error)
                *error = QStringLiteral("removed EXIF field 0x%1 is still present").arg(tag, 4, 16, QLatin1Char('0'));
            return false;
        }
    }
    return true;
}

int createTemp(const QString& target, ExifFile::TempName kind, QString* tempPath)
{
    if (kind == ExifFile::TempName::DOT_TMP) {
        *tempPath = target + QStringLiteral(".tmp");
        return ::open(QFile::encodeName(*tempPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    }
    QByteArray name = QFile::encodeName(QFileInfo(target).absolutePath() + QStringLiteral("/exifXXXXXXtmp"));
    const int fd = mkstemps(name.data(), 3);
    if (fd >= 0) {
        *tempPath = QFile::decodeName(name);
        DeleteOnExit::add(*tempPath);
    }
    return fd;
}

} // namespace

QString ExifFile::resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? path : target;
}

namespace {
bool takeOver(const JpegHeader& header, ExifFile::Contents* out, QString* error)
{
    out->hasExif = header.hasExif();
    if (!out->hasExif)
        return true;
    return out->block.parse(header.exifTiff(), error);
}
} // namespace

bool ExifFile::read(const QString& path, Contents* out, QString* error)
{
    JpegHeader header;
    return header.read(path, JpegHeader::Walk::UNTIL_EXIF, error) && takeOver(header, out, error);
}

bool ExifFile::read(const QByteArray& file, Contents* out, QString* error)
{
    JpegHeader header;
    return header.read(file, JpegHeader::Walk::UNTIL_EXIF, error) && takeOver(header, out, error);
}

bool ExifFile::rewrite(const QString& path, const ExifChange& change, const RewriteOptions& options, Failure* failure,
                       QString* error, QString* tempPathOut)
{
    if (failure)
        *failure = Failure::NONE;
    const QString target = resolvedPath(path);

    QString tempPath;
    const int out = createTemp(target, options.tempName, &tempPath);
    if (tempPathOut)
        *tempPathOut = tempPath;
    if (out < 0)
        return setFailure(failure, Failure::TEMP_FAILED, error, systemErrorText(tempPath, errno));
    auto abandon = [&](Failure f, const QString& text) {
        ::close(out);
        const bool keep = options.keepTempOnWriteFailure && f == Failure::WRITE_FAILED;
        if (!keep)
            ::unlink(QFile::encodeName(tempPath).constData());
        return setFailure(failure, f, error, text);
    };

    const int in = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return abandon(Failure::UNREADABLE, systemErrorText(target, errno));
    struct Closer { int fd; ~Closer() { ::close(fd); } } closeIn{in};

    JpegHeader header;
    QString why;
    if (!header.read(in, JpegHeader::Walk::UNTIL_SCAN, &why))
        return abandon(Failure::UNREADABLE, why);
    if (header.exifSegments > 1)
        return abandon(Failure::NOT_WRITABLE, QStringLiteral("file holds %1 EXIF segments").arg(header.exifSegments));
    TiffBlock old;
    if (header.hasExif() && !old.parse(header.exifTiff(), &why))
        return abandon(Failure::NOT_WRITABLE, why);

    bool tooLarge = false;
    const std::optional<QByteArray> tiff = ExifPatcher::apply(header.hasExif() ? &old : nullptr, change, &why, &tooLarge);
    if (!tiff)
        return abandon(tooLarge ? Failure::WRITE_FAILED : Failure::NOT_WRITABLE, why);
    const QByteArray app1 = JpegHeader::app1For(*tiff);

    const qint64 cut = header.hasExif() ? header.exifStart : header.insertAt;
    const qint64 resume = header.hasExif() ? header.exifEnd : header.insertAt;
    struct stat st;
    if (fstat(in, &st) != 0)
        return abandon(Failure::UNREADABLE, systemErrorText(target, errno));
    const bool written = writeFully(out, header.head.constData(), cut) && writeFully(out, app1.constData(), app1.size())
        && writeFully(out, header.head.constData() + resume, header.head.size() - resume)
        && copyRest(in, header.head.size(), st.st_size, out);
    if (!written)
        return abandon(Failure::WRITE_FAILED, systemErrorText(tempPath, errno));
    fchmod(out, st.st_mode & 07777);
    if (fsync(out) != 0)
        return abandon(Failure::WRITE_FAILED, systemErrorText(tempPath, errno));
    if (::close(out) != 0) {
        const int e = errno;
        if (!options.keepTempOnWriteFailure)
            ::unlink(QFile::encodeName(tempPath).constData());
        return setFailure(failure, Failure::WRITE_FAILED, error, systemErrorText(tempPath, e));
    }

    // Both readers must see what we wrote before the copy may replace the image.
    if (!checkOwnReading(tempPath, change, &why) || !ExivMetadata::confirms(tempPath, change, &why)) {
        if (!options.keepTempOnWriteFailure)
            ::unlink(QFile::encodeName(tempPath).constData());
        return setFailure(failure, Failure::WRITE_FAILED, error, QStringLiteral("check of the rewritten file failed: ") + why);
    }
    if (::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(target).constData()) != 0) {
        const int e = errno;
        ::unlink(QFile::encodeName(tempPath).constData());
        return setFailure(failure, Failure::REPLACE_FAILED, error, systemErrorText(target, e));
    }
    return true;
}

} // namespace zentrova
