#pragma once

#include "archive/ByteStream.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace zentrova {

struct ZipEntry {
    QString name;
    QByteArray extra; // the local header's extra field, raw
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    QDateTime modified;
    bool isDirectory() const { return name.endsWith(QLatin1Char('/')); }
};

// Reads a ZIP archive from the front as a stream: local header after local header, until the first
// signature that is not a local header (the central directory, or anything else). Stored and deflated
// entries, with and without data descriptors; every entry's CRC-32 and sizes are checked when its data
// ends. Nothing is allocated by a size read from the archive, and an entry that inflates past
// `maxEntrySize` is refused (a caller's limit against archives that expand without bound).
class ZipStreamReader {
public:
    static constexpr qint64 DEFAULT_MAX_ENTRY_SIZE = 4LL << 30;

    explicit ZipStreamReader(ByteSource& source, qint64 maxEntrySize = DEFAULT_MAX_ENTRY_SIZE);
    ~ZipStreamReader();

    // The next entry (skipping what is left of the current one), or nothing: at the end of the entries with
    // *error empty, or on a failure with the reason in *error.
    std::optional<ZipEntry> nextEntry(QString* error);
    // The current entry's data through the caller's buffer: the count, 0 at its end (after the checks pass),
    // or -1 with the reason.
    qint64 read(char* buffer, qint64 maximum, QString* error);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

namespace ZipExtra {
// The import's progress total from the first entry's extra field: its bytes as a decimal number, 0 when
// empty. A field that is not bare digits (the tagged records other ZIP tools write) counts as unknown: 0.
qint64 countOf(const QByteArray& extra);
} // namespace ZipExtra

namespace ArchiveMarker {
inline constexpr char ENCRYPTION_MARKER[] = "encrypted";
inline constexpr int MARKER_LENGTH = 9;
// The first 9 bytes equal "encrypted"; a shorter file is not marked.
bool isEncrypted(const QByteArray& head);
bool isEncryptedFile(const QString& path);
// A name ending in ".crpt", any letter case.
bool isCrptName(const QString& name);
} // namespace ArchiveMarker

} // namespace zentrova
