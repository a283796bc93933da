#include "image/JpegSegments.h"

#include "util/AtomicFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova {

namespace {
constexpr qint64 FIRST_READ = 8 * 1024;

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool isExifPayload(const QByteArray& head, qint64 payload, qint64 end)
{
    return end - payload >= 6 && memcmp(head.constData() + payload, "Exif\0\0", 6) == 0;
}
} // namespace

bool JpegHeader::ensure(int fd, qint64 end)
{
    if (end <= head.size())
        return true;
    if (end > fileSize)
        return false;
    // Read ahead generously: headers are small, and one read beats many.
    const qint64 want = std::min(fileSize, std::max(end, qint64(head.size()) * 2));
    const qint64 old = head.size();
    head.resize(want);
    qint64 done = old;
    while (done < want) {
        const ssize_t n = pread(fd, head.data() + done, size_t(want - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    head.resize(done);
    return end <= done;
}

bool JpegHeader::read(const QString& path, Walk walk, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, systemErrorText(path, errno));
    const bool ok = read(fd, walk, error);
    ::close(fd);
    return ok;
}

bool JpegHeader::read(int fd, Walk walk, QString* error)
{
    *this = JpegHeader{};
    struct stat st;
    if (fstat(fd, &st) != 0)
        return fail(error, QString::fromLocal8Bit(strerror(errno)));
    fileSize = st.st_size;
    head.reserve(int(std::min(fileSize, FIRST_READ)));
    if (!ensure(fd, std::min(fileSize, FIRST_READ)))
        return fail(error, QStringLiteral("Not a JPEG file: too short"));
    return this->walk(fd, walk, error);
}

bool JpegHeader::read(const QByteArray& file, Walk walk, QString* error)
{
    *this = JpegHeader{};
    head = file;
    fileSize = file.size();
    return this->walk(-1, walk, error); // everything is in memory: ensure() never reads
}

bool JpegHeader::walk(int fd, Walk walk, QString* error)
{
    if (head.size() < 2)
        return fail(error, QStringLiteral("Not a JPEG file: too short"));
    auto byteAt = [this](qint64 i) { return uint8_t(head.at(qsizetype(i))); };
    if (byteAt(0) != 0xFF || byteAt(1) != 0xD8)
        return fail(error, QStringLiteral("Not a JPEG file: no start of image marker"));

    qint64 pos = 2;
    bool first = true;
    while (true) {
        // Find the next marker; fill bytes (0xFF runs) and stray bytes between segments are skipped,
        // as decoders do.
        while (true) {
            if (!ensure(fd, pos + 1))
                return walk == Walk::UNTIL_EXIF && pos >= fileSize ? true
                                                                   : fail(error, QStringLiteral("JPEG header ends before the image data"));
            if (byteAt(pos) == 0xFF) {
                if (!ensure(fd, pos + 2))
                    return fail(error, QStringLiteral("JPEG header ends inside a marker"));
                const uint8_t m = byteAt(pos + 1);
                if (m != 0xFF && m != 0x00)
                    break;
            }
            ++pos;
        }
        const uint8_t marker = byteAt(pos + 1);
        if (marker == 0xD9 || marker == 0xDA)
            return true; // end of image, or the first scan: the header is over
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2; // markers without a length
            continue;
        }
        if (marker == 0xD8)
            return fail(error, QStringLiteral("JPEG header holds a second start of image marker"));
        if (!ensure(fd, pos + 4))
            return fail(error, QStringLiteral("JPEG segment length past the end of the file"));
        const qint64 length = qint64(byteAt(pos + 2)) << 8 | byteAt(pos + 3);
        if (length < 2)
            return fail(error, QStringLiteral("JPEG segment with an invalid length"));
        const qint64 end = pos + 2 + length;
        if (end > fileSize)
            return fail(error, QStringLiteral("JPEG segment length past the end of the file"));
        segments.push_back({marker, pos, end});
        if (marker == 0xE1) {
            if (!ensure(fd, std::min(end, pos + 10)))
                return fail(error, QStringLiteral("JPEG segment length past the end of the file"));
            if (isExifPayload(head, pos + 4, end)) {
                ++exifSegments;
                if (exifStart < 0) {
                    if (!ensure(fd, end))
                        return fail(error, QStringLiteral("JPEG segment length past the end of the file"));
                    exifStart = pos;
                    exifEnd = end;
                    if (walk == Walk::UNTIL_EXIF)
                        return true;
                }
            }
        } else if (marker == 0xE0 && first) {
            if (ensure(fd, std::min(end, pos + 9)) && end - pos >= 9 && memcmp(head.constData() + pos + 4, "JFIF\0", 5) == 0)
                insertAt = end;
        }
        first = false;
        pos = end;
    }
}

QByteArray JpegHeader::exifTiff() const
{
    if (!hasExif())
        return {};
    return head.mid(qsizetype(exifStart + APP1_HEADER), qsizetype(exifEnd - exifStart - APP1_HEADER));
}

QByteArray JpegHeader::app1For(const QByteArray& tiff)
{
    QByteArray out;
    const int length = 2 + 6 + int(tiff.size());
    out.reserve(length + 2);
    out.append(char(0xFF)).append(char(0xE1)).append(char(length >> 8)).append(char(length & 0xFF));
    out.append("Exif\0\0", 6).append(tiff);
    return out;
}

} // namespace zentrova
