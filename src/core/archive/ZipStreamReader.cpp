#include "archive/ZipStreamReader.h"

#include "archive/ZipFormat.h"

#include <QFile>

#include <zlib.h>

#include <vector>

namespace zentrova {

using namespace ZipFormat;

namespace {
constexpr size_t BUFFER = 64 * 1024;
}

struct ZipStreamReader::Impl {
    ByteSource& source;
    qint64 maxEntrySize;
    std::vector<char> buf = std::vector<char>(BUFFER);
    size_t pos = 0, len = 0;
    bool sourceEnded = false;
    bool failed = false;
    bool ended = false;

    // the current entry
    bool inEntry = false;
    bool entryDone = false;
    ZipEntry entry;
    bool descriptor = false;
    std::uint32_t crcExpected = 0;
    qint64 compressedExpected = 0, sizeExpected = 0;
    std::uint32_t crc = 0;
    qint64 compressedRead = 0, produced = 0;
    z_stream z{};
    bool zReady = false;

    Impl(ByteSource& s, qint64 m) : source(s), maxEntrySize(m) {}
    ~Impl()
    {
        if (zReady)
            inflateEnd(&z);
    }

    bool fail(QString* error, const QString& text)
    {
        failed = true;
        if (error)
            *error = text;
        return false;
    }

    // At least one byte buffered, false at the end of the source (or on its failure, with *error set).
    bool fill(QString* error)
    {
        if (pos < len)
            return true;
        if (sourceEnded)
            return false;
        pos = 0;
        const qint64 n = source.read(buf.data(), static_cast<qint64>(buf.size()), error);
        if (n < 0) {
            failed = true;
            sourceEnded = true;
            len = 0;
            return false;
        }
        len = static_cast<size_t>(n);
        if (n == 0)
            sourceEnded = true;
        return len > 0;
    }

    // Exactly n bytes into out, or false: *got tells how many there were before the end.
    bool readExact(char* out, size_t n, QString* error, size_t* got = nullptr)
    {
        size_t done = 0;
        while (done < n) {
            if (!fill(error)) {
                if (got)
                    *got = done;
                return false;
            }
            const size_t take = std::min(n - done, len - pos);
            std::memcpy(out + done, buf.data() + pos, take);
            pos += take;
            done += take;
        }
        if (got)
            *got = done;
        return true;
    }

    bool skip(qint64 n, QString* error)
    {
        while (n > 0) {
            if (!fill(error))
                return false;
            const size_t take = static_cast<size_t>(std::min<qint64>(n, static_cast<qint64>(len - pos)));
            pos += take;
            n -= static_cast<qint64>(take);
        }
        return true;
    }

    bool checkEnd(QString* error)
    {
        if (descriptor) {
            char d[16];
            if (!readExact(d, 4, error))
                return fail(error, failed ? *error : QStringLiteral("Unexpected end of ZLIB input stream"));
            size_t at = 0;
            if (get32(d) == DESCRIPTOR_SIGNATURE) {
                if (!readExact(d, 12, error))
                    return fail(error, QStringLiteral("Unexpected end of ZLIB input stream"));
            } else {
                if (!readExact(d + 4, 8, error))
                    return fail(error, QStringLiteral("Unexpected end of ZLIB input stream"));
            }
            crcExpected = get32(d + at);
            compressedExpected = get32(d + at + 4);
            sizeExpected = get32(d + at + 8);
        }
        const QString name = entry.name;
        if (crc != crcExpected)
            return fail(error, QStringLiteral("invalid entry CRC (expected 0x%1 but got 0x%2) in ")
                                   .arg(crcExpected, 8, 16, QLatin1Char('0'))
                                   .arg(crc, 8, 16, QLatin1Char('0')) + name);
        if ((compressedExpected & 0xffffffffLL) != (compressedRead & 0xffffffffLL)
            || (sizeExpected & 0xffffffffLL) != (produced & 0xffffffffLL))
            return fail(error, QStringLiteral("invalid entry size in ") + name);
        entryDone = true;
        return true;
    }

    qint64 readData(char* out, qint64 maximum, QString* error)
    {
        if (failed)
            return fail(error, QStringLiteral("archive stream failed earlier")), -1;
        if (!inEntry || entryDone)
            return 0;
        if (maximum <= 0)
            return 0;
        qint64 n = 0;
        if (entry.method == STORED) {
            const qint64 left = compressedExpected - compressedRead;
            if (left == 0) {
                if (!checkEnd(error))
                    return -1;
                return 0;
            }
            if (!fill(error))
                return fail(error, failed ? *error : QStringLiteral("Unexpected end of stored entry ") + entry.name), -1;
            n = std::min<qint64>({maximum, left, static_cast<qint64>(len - pos)});
            std::memcpy(out, buf.data() + pos, static_cast<size_t>(n));
            pos += static_cast<size_t>(n);
            compressedRead += n;
        } else {
            while (n == 0) {
                if (!fill(error))
                    return fail(error, failed ? *error : QStringLiteral("Unexpected end of ZLIB input stream")), -1;
                qint64 avail = static_cast<qint64>(len - pos);
                if (!descriptor)
                    avail = std::min(avail, compressedExpected - compressedRead);
                if (avail <= 0 && !descriptor)
                    return fail(error, QStringLiteral("invalid entry compressed size in ") + entry.name), -1;
                z.next_in = reinterpret_cast<Bytef*>(buf.data() + pos);
                z.avail_in = static_cast<uInt>(avail);
                z.next_out = reinterpret_cast<Bytef*>(out);
                z.avail_out = static_cast<uInt>(std::min<qint64>(maximum, 1 << 30));
                const int rc = inflate(&z, Z_NO_FLUSH);
                const qint64 used = avail - static_cast<qint64>(z.avail_in);
                pos += static_cast<size_t>(used);
                compressedRead += used;
                n = static_cast<qint64>(std::min<qint64>(maximum, 1 << 30) - z.avail_out);
                if (rc == Z_STREAM_END) {
                    crc = static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<Bytef*>(out), static_cast<uInt>(n)));
                    produced += n;
                    if (produced > maxEntrySize)
                        return fail(error, QStringLiteral("entry exceeds the size limit: ") + entry.name), -1;
                    if (!checkEnd(error))
                        return -1;
                    return n;
                }
                if (rc != Z_OK && rc != Z_BUF_ERROR)
                    return fail(error, QStringLiteral("invalid deflate data in ") + entry.name
                                           + (z.msg ? QStringLiteral(": ") + QString::fromLatin1(z.msg) : QString())),
                           -1;
                if (rc == Z_BUF_ERROR && used == 0 && n == 0)
                    return fail(error, QStringLiteral("invalid deflate data in ") + entry.name), -1;
            }
        }
        crc = static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<Bytef*>(out), static_cast<uInt>(n)));
        produced += n;
        if (produced > maxEntrySize)
            return fail(error, QStringLiteral("entry exceeds the size limit: ") + entry.name), -1;
        return n;
    }
};

ZipStreamReader::ZipStreamReader(ByteSource& source, qint64 maxEntrySize)
    : d(std::make_unique<Impl>(source, maxEntrySize))
{
}

ZipStreamReader::~ZipStreamReader() = default;

std::optional<ZipEntry> ZipStreamReader::nextEntry(QString* error)
{
    Impl& s = *d;
    if (error)
        error->clear();
    if (s.failed) {
        s.fail(error, QStringLiteral("archive stream failed earlier"));
        return std::nullopt;
    }
    if (s.ended)
        return std::nullopt;
    if (s.inEntry && !s.entryDone) {
        char scratch[4096];
        qint64 n;
        while ((n = s.readData(scratch, sizeof scratch, error)) > 0) {
        }
        if (n < 0)
            return std::nullopt;
    }
    s.inEntry = false;

    char h[LOCAL_HEADER_SIZE];
    size_t got = 0;
    if (!s.readExact(h, 4, error, &got)) {
        if (s.failed)
            return std::nullopt;
        if (got == 0) {
            s.ended = true;
            return std::nullopt;
        }
        s.fail(error, QStringLiteral("truncated archive: incomplete signature"));
        return std::nullopt;
    }
    if (get32(h) != LOCAL_SIGNATURE) {
        s.ended = true;
        return std::nullopt;
    }
    if (!s.readExact(h + 4, LOCAL_HEADER_SIZE - 4, error)) {
        s.fail(error, QStringLiteral("truncated archive: incomplete local header"));
        return std::nullopt;
    }
    ZipEntry e;
    e.flags = get16(h + 6);
    e.method = get16(h + 8);
    e.modified = fromDosDateTime(get32(h + 10));
    s.crcExpected = get32(h + 14);
    s.compressedExpected = get32(h + 18);
    s.sizeExpected = get32(h + 22);
    const std::uint16_t nameLength = get16(h + 26), extraLength = get16(h + 28);
    QByteArray name(nameLength, Qt::Uninitialized);
    e.extra = QByteArray(extraLength, Qt::Uninitialized);
    if (!s.readExact(name.data(), nameLength, error) || !s.readExact(e.extra.data(), extraLength, error)) {
        s.fail(error, QStringLiteral("truncated archive: incomplete entry name or extra field"));
        return std::nullopt;
    }
    e.name = QString::fromUtf8(name);
    if (!(e.flags & FLAG_UTF8) && e.name.toUtf8() != name)
        e.name = QString::fromLatin1(name);
    if (e.flags & FLAG_ENCRYPTED) {
        s.fail(error, QStringLiteral("encrypted ZIP entry not supported: ") + e.name);
        return std::nullopt;
    }
    if (e.method != STORED && e.method != DEFLATED) {
        s.fail(error, QStringLiteral("invalid compression method %1 in ").arg(e.method) + e.name);
        return std::nullopt;
    }
    s.descriptor = (e.flags & FLAG_DESCRIPTOR) != 0;
    if (s.descriptor && e.method == STORED) {
        // A stored entry's end can only be found by its size; with a descriptor the header carries none.
        if (s.compressedExpected == 0 && s.sizeExpected == 0 && s.crcExpected == 0) {
            s.fail(error, QStringLiteral("stored entry with a data descriptor and no size: ") + e.name);
            return std::nullopt;
        }
        // The header's size finds the end; the descriptor after the data is then read and checked too.
    }
    if (e.method == STORED && s.compressedExpected != s.sizeExpected) {
        s.fail(error, QStringLiteral("invalid stored entry size in ") + e.name);
        return std::nullopt;
    }
    if (e.method == DEFLATED) {
        if (!s.zReady) {
            inflateInit2(&s.z, -15);
            s.zReady = true;
        } else {
            inflateReset(&s.z);
        }
    }
    s.entry = e;
    s.inEntry = true;
    s.entryDone = false;
    s.crc = 0;
    s.compressedRead = 0;
    s.produced = 0;
    return e;
}

qint64 ZipStreamReader::read(char* buffer, qint64 maximum, QString* error)
{
    return d->readData(buffer, maximum, error);
}

qint64 ZipExtra::countOf(const QByteArray& extra)
{
    if (extra.isEmpty() || extra.size() > 18)
        return 0;
    qint64 n = 0;
    for (char c : extra) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

bool ArchiveMarker::isEncrypted(const QByteArray& head)
{
    return head.size() >= MARKER_LENGTH && head.left(MARKER_LENGTH) == QByteArray(ENCRYPTION_MARKER, MARKER_LENGTH);
}

bool ArchiveMarker::isEncryptedFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return isEncrypted(f.read(MARKER_LENGTH));
}

bool ArchiveMarker::isCrptName(const QString& name)
{
    return name.endsWith(QStringLiteral(".crpt"), Qt::CaseInsensitive);
}

} // namespace zentrova
