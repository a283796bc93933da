#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace zentrova::ValueFile {

// The binary value files ("Zentrova.tags", "Zentrova.filters", "Zentrova.startdir", "file_import_lastfir.bin",
// "last_rename_dir.bin") hold exactly one value each, in a self-describing format of our own:
//   "ZVAL", version byte 1, a type byte, then the value, big-endian throughout;
//   text:        u32 byte length + UTF-8 bytes            (type 1)
//   text list:   u32 count + texts                         (type 2)
//   record list: u32 count + records; a record is u32 field count + fields, each a tag byte and its value:
//                'T' text, 'B' one byte 0 or 1, 'I' s32    (type 3)
// Every length is checked against the bytes that remain; a wrong magic, version, type or tag, a short
// value or trailing bytes make the read fail.
using Field = std::variant<QString, bool, qint32>;
using Record = QList<Field>;

QByteArray encodeText(const QString& text);
QByteArray encodeTextList(const QStringList& list);
QByteArray encodeRecords(const QList<Record>& records);

std::optional<QString> decodeText(const QByteArray& bytes, QString* error = nullptr);
std::optional<QStringList> decodeTextList(const QByteArray& bytes, QString* error = nullptr);
std::optional<QList<Record>> decodeRecords(const QByteArray& bytes, QString* error = nullptr);

// Whole-file forms: written through a temporary file and one rename, read under the same per-file lock.
bool writeText(const QString& path, const QString& text, QString* error = nullptr);
bool writeTextList(const QString& path, const QStringList& list, QString* error = nullptr);
bool writeRecords(const QString& path, const QList<Record>& records, QString* error = nullptr);
std::optional<QString> readText(const QString& path, QString* error = nullptr);
std::optional<QStringList> readTextList(const QString& path, QString* error = nullptr);
std::optional<QList<Record>> readRecords(const QString& path, QString* error = nullptr);

} // namespace zentrova::ValueFile
