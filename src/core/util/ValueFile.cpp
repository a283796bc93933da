#include "util/ValueFile.h"

#include "util/AtomicFile.h"

namespace zentrova::ValueFile {

namespace {
constexpr char MAGIC[4] = {'Z', 'V', 'A', 'L'};
constexpr char VERSION = 1;
enum Type : char { TEXT = 1, TEXT_LIST = 2, RECORDS = 3 };

class Writer {
public:
    explicit Writer(Type type)
    {
        out.append(MAGIC, 4);
        out.append(VERSION);
        out.append(type);
    }
    void u32(quint32 v)
    {
        out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    }
    void text(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        u32(static_cast<quint32>(utf8.size()));
        out += utf8;
    }
    void byte(char b) { out.append(b); }
    QByteArray out;
};

class Reader {
public:
    Reader(const QByteArray& b, QString* e) : bytes(b), error(e) {}

    bool header(Type expected)
    {
        if (bytes.size() < 6 || bytes.left(4) != QByteArray(MAGIC, 4))
            return fail(QStringLiteral("not a value file"));
        if (bytes.at(4) != VERSION)
            return fail(QStringLiteral("unknown value file version %1").arg(int(bytes.at(4))));
        if (bytes.at(5) != expected)
            return fail(QStringLiteral("value file holds type %1, expected %2").arg(int(bytes.at(5))).arg(int(expected)));
        pos = 6;
        return true;
    }
    bool u32(quint32* v)
    {
        if (bytes.size() - pos < 4)
            return fail(QStringLiteral("value file is truncated"));
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + pos);
        *v = (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
        pos += 4;
        return true;
    }
    bool byte(char* c)
    {
        if (pos >= bytes.size())
            return fail(QStringLiteral("value file is truncated"));
        *c = bytes.at(pos++);
        return true;
    }
    bool text(QString* s)
    {
        quint32 n = 0;
        if (!u32(&n))
            return false;
        if (n > quint32(bytes.size() - pos))
            return fail(QStringLiteral("value file is truncated"));
        const QByteArray utf8 = bytes.mid(pos, n);
        pos += n;
        *s = QString::fromUtf8(utf8);
        if (s->toUtf8() != utf8)
            return fail(QStringLiteral("value file holds text that is not UTF-8"));
        return true;
    }
    // A count can never be larger than the bytes left, each element taking at least `minimum` bytes.
    bool count(quint32* n, qsizetype minimum)
    {
        if (!u32(n))
            return false;
        if (qsizetype(*n) > (bytes.size() - pos) / minimum)
            return fail(QStringLiteral("value file is truncated"));
        return true;
    }
    bool end()
    {
        if (pos != bytes.size())
            return fail(QStringLiteral("value file has trailing bytes"));
        return true;
    }
    bool fail(const QString& text)
    {
        if (error)
            *error = text;
        return false;
    }

private:
    const QByteArray& bytes;
    QString* error;
    qsizetype pos = 0;
};

template <typename T>
std::optional<T> readWith(const QString& path, QString* error,
                          std::optional<T> (*decode)(const QByteArray&, QString*))
{
    QByteArray bytes;
    if (!AtomicFile::readAll(path, &bytes, error))
        return std::nullopt;
    QString why;
    auto value = decode(bytes, &why);
    if (!value && error)
        *error = path + QStringLiteral(": ") + why;
    return value;
}
} // namespace

QByteArray encodeText(const QString& text)
{
    Writer w(TEXT);
    w.text(text);
    return w.out;
}

QByteArray encodeTextList(const QStringList& list)
{
    Writer w(TEXT_LIST);
    w.u32(static_cast<quint32>(list.size()));
    for (const QString& s : list)
        w.text(s);
    return w.out;
}

QByteArray encodeRecords(const QList<Record>& records)
{
    Writer w(RECORDS);
    w.u32(static_cast<quint32>(records.size()));
    for (const Record& r : records) {
        w.u32(static_cast<quint32>(r.size()));
        for (const Field& f : r) {
            if (const auto* s = std::get_if<QString>(&f)) {
                w.byte('T');
                w.text(*s);
            } else if (const auto* b = std::get_if<bool>(&f)) {
                w.byte('B');
                w.byte(*b ? 1 : 0);
            } else {
                w.byte('I');
                w.u32(static_cast<quint32>(std::get<qint32>(f)));
            }
        }
    }
    return w.out;
}

std::optional<QString> decodeText(const QByteArray& bytes, QString* error)
{
    Reader r(bytes, error);
    QString s;
    if (!r.header(TEXT) || !r.text(&s) || !r.end())
        return std::nullopt;
    return s;
}

std::optional<QStringList> decodeTextList(const QByteArray& bytes, QString* error)
{
    Reader r(bytes, error);
    quint32 n = 0;
    if (!r.header(TEXT_LIST) || !r.count(&n, 4))
        return std::nullopt;
    QStringList list;
    for (quint32 i = 0; i < n; ++i) {
        QString s;
        if (!r.text(&s))
            return std::nullopt;
        list.append(s);
    }
    if (!r.end())
        return std::nullopt;
    return list;
}

std::optional<QList<Record>> decodeRecords(const QByteArray& bytes, QString* error)
{
    Reader r(bytes, error);
    quint32 n = 0;
    if (!r.header(RECORDS) || !r.count(&n, 4))
        return std::nullopt;
    QList<Record> records;
    for (quint32 i = 0; i < n; ++i) {
        quint32 fields = 0;
        if (!r.count(&fields, 2))
            return std::nullopt;
        Record record;
        for (quint32 k = 0; k < fields; ++k) {
            char tag = 0;
            if (!r.byte(&tag))
                return std::nullopt;
            if (tag == 'T') {
                QString s;
                if (!r.text(&s))
                    return std::nullopt;
                record.append(s);
            } else if (tag == 'B') {
                char b = 0;
                if (!r.byte(&b))
                    return std::nullopt;
                if (b != 0 && b != 1) {
                    r.fail(QStringLiteral("value file holds a bad truth value"));
                    return std::nullopt;
                }
                record.append(b == 1);
            } else if (tag == 'I') {
                quint32 v = 0;
                if (!r.u32(&v))
                    return std::nullopt;
                record.append(static_cast<qint32>(v));
            } else {
                r.fail(QStringLiteral("value file holds an unknown field tag"));
                return std::nullopt;
            }
        }
        records.append(record);
    }
    if (!r.end())
        return std::nullopt;
    return records;
}

bool writeText(const QString& path, const QString& text, QString* error)
{
    return AtomicFile::writeAll(path, encodeText(text), error);
}

bool writeTextList(const QString& path, const QStringList& list, QString* error)
{
    return AtomicFile::writeAll(path, encodeTextList(list), error);
}

bool writeRecords(const QString& path, const QList<Record>& records, QString* error)
{
    return AtomicFile::writeAll(path, encodeRecords(records), error);
}

std::optional<QString> readText(const QString& path, QString* error)
{
    return readWith<QString>(path, error, &decodeText);
}

std::optional<QStringList> readTextList(const QString& path, QString* error)
{
    return readWith<QStringList>(path, error, &decodeTextList);
}

std::optional<QList<Record>> readRecords(const QString& path, QString* error)
{
    return readWith<QList<Record>>(path, error, &decodeRecords);
}

} // namespace zentrova::ValueFile
