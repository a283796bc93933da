#include "archive/ZipStreamWriter.h"

#include "archive/ZipFormat.h"

#include <zlib.h>

#include <vector>

namespace zentrova {

using namespace ZipFormat;

struct ZipStreamWriter::Entry {
    QByteArray name;
    QByteArray extra;
    std::uint16_t flags = 0;
    std::uint32_t dosTime = 0;
    std::uint32_t crc = 0;
    qint64 compressed = 0;
    qint64 size = 0;
    qint64 offset = 0;
    bool directory = false;
};

struct ZipStreamWriter::Deflater {
    z_stream z{};
    std::vector<unsigned char> out = std::vector<unsigned char>(64 * 1024);
    Deflater() { deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY); }
    ~Deflater() { deflateEnd(&z); }
};

ZipStreamWriter::ZipStreamWriter(ByteSink& s) : sink(s), deflater(std::make_unique<Deflater>()) {}

ZipStreamWriter::~ZipStreamWriter() = default;

QByteArray ZipStreamWriter::countExtra(qint64 count)
{
    return QByteArray::number(count);
}

bool ZipStreamWriter::put(const char* data, qint64 size, QString* error)
{
    if (!sink.write(data, size, error))
        return false;
    offset += size;
    return true;
}

bool ZipStreamWriter::beginEntry(const QString& name, const QByteArray& extra, const QDateTime& modified, QString* error)
{
    if (finished) {
        if (error)
            *error = QStringLiteral("archive already finished");
        return false;
    }
    if (open && !closeEntry(error))
        return false;
    if (names.contains(name)) {
        if (error)
            *error = QStringLiteral("duplicate entry: ") + name;
        return false;
    }
    Entry e;
    e.name = name.toUtf8();
    e.extra = extra;
    if (e.name.size() > 0xffff || extra.size() > 0xffff) {
        if (error)
            *error = QStringLiteral("entry name or extra field too long: ") + name;
        return false;
    }
    bool ascii = true;
    for (char c : e.name)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    e.flags = FLAG_DESCRIPTOR | (ascii ? 0 : FLAG_UTF8);
    e.dosTime = dosDateTime(modified);
    e.offset = offset;
    e.directory = name.endsWith(QLatin1Char('/'));
    QByteArray h;
    put32(h, LOCAL_SIGNATURE);
    put16(h, 20);
    put16(h, e.flags);
    put16(h, DEFLATED);
    put32(h, e.dosTime);
    put32(h, 0); // crc, sizes: in the data descriptor
    put32(h, 0);
    put32(h, 0);
    put16(h, static_cast<std::uint32_t>(e.name.size()));
    put16(h, static_cast<std::uint32_t>(e.extra.size()));
    h += e.name;
    h += e.extra;
    if (!put(h.constData(), h.size(), error))
        return false;
    names.insert(name);
    entries.append(e);
    deflateReset(&deflater->z);
    open = true;
    return true;
}

bool ZipStreamWriter::deflateChunk(const char* data, qint64 size, bool last, QString* error)
{
    z_stream& z = deflater->z;
    Entry& e = entries.last();
    do {
        const uInt take = static_cast<uInt>(std::min<qint64>(size, 1 << 30));
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z.avail_in = take;
        data += take;
        size -= take;
        const int flush = (last && size == 0) ? Z_FINISH : Z_NO_FLUSH;
        int rc;
        do {
            z.next_out = deflater->out.data();
            z.avail_out = static_cast<uInt>(deflater->out.size());
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR) {
                if (error)
                    *error = QStringLiteral("deflate failed");
                return false;
            }
            const qint64 produced = static_cast<qint64>(deflater->out.size() - z.avail_out);
            if (produced > 0) {
                if (!put(reinterpret_cast<const char*>(deflater->out.data()), produced, error))
                    return false;
                e.compressed += produced;
            }
        } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    } while (size > 0);
    return true;
}

bool ZipStreamWriter::write(const char* data, qint64 size, QString* error)
{
    if (!open) {
        if (error)
            *error = QStringLiteral("no entry open");
        return false;
    }
    Entry& e = entries.last();
    if (size <= 0)
        return true;
    if (e.directory) {
        if (error)
            *error = QStringLiteral("a directory entry holds no data: ") + QString::fromUtf8(e.name);
        return false;
    }
    qint64 done = 0;
    while (done < size) {
        const uInt n = static_cast<uInt>(std::min<qint64>(size - done, 1 << 30));
        e.crc = static_cast<std::uint32_t>(crc32(e.crc, reinterpret_cast<const Bytef*>(data + done), n));
        done += n;
    }
    e.size += size;
    return deflateChunk(data, size, false, error);
}

bool ZipStreamWriter::closeEntry(QString* error)
{
    if (!open)
        return true;
    if (!deflateChunk(nullptr, 0, true, error))
        return false;
    open = false;
    const Entry& e = entries.last();
    if (e.size > 0xffffffffLL || e.compressed > 0xffffffffLL || offset > 0xffffffffLL) {
        if (error)
            *error = QStringLiteral("archive too large (entries and archives are limited to 4 GB)");
        return false;
    }
    QByteArray d;
    put32(d, DESCRIPTOR_SIGNATURE);
    put32(d, e.crc);
    put32(d, static_cast<std::uint32_t>(e.compressed));
    put32(d, static_cast<std::uint32_t>(e.size));
    return put(d.constData(), d.size(), error);
}

bool ZipStreamWriter::finish(QString* error)
{
    if (finished)
        return true;
    if (!closeEntry(error))
        return false;
    if (entries.size() > 0xffff) {
        if (error)
            *error = QStringLiteral("too many entries for one archive (at most 65535)");
        return false;
    }
    const qint64 start = offset;
    QByteArray c;
    for (const Entry& e : entries) {
        put32(c, CENTRAL_SIGNATURE);
        put16(c, (3 << 8) | 20); // made on Unix, version 2.0
        put16(c, 20);
        put16(c, e.flags);
        put16(c, DEFLATED);
        put32(c, e.dosTime);
        put32(c, e.crc);
        put32(c, static_cast<std::uint32_t>(e.compressed));
        put32(c, static_cast<std::uint32_t>(e.size));
        put16(c, static_cast<std::uint32_t>(e.name.size()));
        put16(c, static_cast<std::uint32_t>(e.extra.size()));
        put16(c, 0); // comment
        put16(c, 0); // disk
        put16(c, 0); // internal attributes
        put32(c, e.directory ? ((040755u << 16) | 0x10) : (0100644u << 16));
        put32(c, static_cast<std::uint32_t>(e.offset));
        c += e.name;
        c += e.extra;
        if (c.size() >= 64 * 1024) {
            if (!put(c.constData(), c.size(), error))
                return false;
            c.clear();
        }
    }
    const qint64 size = offset + c.size() - start;
    put32(c, END_SIGNATURE);
    put16(c, 0);
    put16(c, 0);
    put16(c, static_cast<std::uint32_t>(entries.size()));
    put16(c, static_cast<std::uint32_t>(entries.size()));
    put32(c, static_cast<std::uint32_t>(size));
    put32(c, static_cast<std::uint32_t>(start));
    put16(c, 0);
    if (!put(c.constData(), c.size(), error))
        return false;
    finished = true;
    return sink.finish(error);
}

} // namespace zentrova
