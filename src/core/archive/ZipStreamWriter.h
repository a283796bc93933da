#pragma once

#include "archive/ByteStream.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>

namespace zentrova {

// Writes a ZIP archive front to back into any sink, never seeking: each entry is a local header with
// general-purpose bit 3 set, its deflated data (method 8, default level) and a data descriptor; the central
// directory and the end record come last. Entry names are taken as given and flagged UTF-8 when not ASCII;
// a name ending in "/" is a directory entry without data. The extra field is written exactly as given.
class ZipStreamWriter {
public:
    explicit ZipStreamWriter(ByteSink& sink);
    ~ZipStreamWriter();

    // Fails with "duplicate entry: <name>" for a name already written.
    bool beginEntry(const QString& name, const QByteArray& extra, const QDateTime& modified, QString* error);
    bool write(const char* data, qint64 size, QString* error);
    bool closeEntry(QString* error);
    // Closes an open entry, writes the central directory and the end record, and finishes the sink.
    bool finish(QString* error);

    // The extra field the export writes: the number as bare decimal ASCII digits.
    static QByteArray countExtra(qint64 count);

private:
    struct Entry;
    struct Deflater;
    bool put(const char* data, qint64 size, QString* error);
    bool deflateChunk(const char* data, qint64 size, bool last, QString* error);

    ByteSink& sink;
    qint64 offset = 0;
    QList<Entry> entries;
    QSet<QString> names;
    std::unique_ptr<Deflater> deflater;
    bool open = false;
    bool finished = false;
};

} // namespace zentrova
