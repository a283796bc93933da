#pragma once

#include "event/FileConversionEvent.h"
#include "event/TagListEvent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova {

class ProgressTarget;

// Albums live in the pictures: a JPEG is in an album when the album's name stands in its EXIF UserComment
// behind ALBUM_TAG_HEADER, names separated by commas. This module reads and writes that field and keeps the
// process-wide list of album names (the registry) with its listeners.
namespace ExifTagUtil {

inline const QString ALBUM_TAG_HEADER = QStringLiteral("TolvexAlbumTags:");
inline const QString ALL_FILE_TAG = QStringLiteral("All Files");
inline const QString UNTAGGED_TAG = QStringLiteral("Untagged");
inline const QString FAVORITES_TAG = QStringLiteral("Favorites");
inline const QStringList DEFAULT_TAGS = {ALL_FILE_TAG, UNTAGGED_TAG, FAVORITES_TAG};

// --- the field ---
// A UserComment value as text: ASCII up to the first NUL; BYTE and UNDEFINED by their 8-byte character
// code (ASCII, JIS, UNICODE as UTF-8, undefined as ISO-8859-1) or as ASCII; bytes above 0x7F read as U+FFFD
// wherever ASCII is decoded. Other field types give no result.
std::optional<QString> decodeUserComment(uint16_t type, const QByteArray& value);
// The album names of a UserComment text: empty unless it starts with the marker and is longer; empty
// pieces skipped, a repeated name kept at its first place.
QStringList albumNamesIn(const QString& comment);
// "Holiday" and "Family" give the bytes of TolvexAlbumTags:Holiday,Family.
QByteArray albumCommentFor(const QStringList& names);

// True for a name that, lower-cased, ends with ".jpg" or ".jpeg".
bool isJpegFile(const QString& path);

// --- one file ---
// The UserComment's text; an unreadable JPEG is repaired first (see the source).
std::optional<QString> readImageUserComment(const QString& file);
QStringList getAlbumTags(const QString& file);
// Adds the trimmed name to the file's albums (asks to convert a file that is not a JPEG).
bool addImageAlbumTag(const QString& file, const QString& album, bool fireEvent = true);
bool removeImageAlbumTag(const QString& file, const QString& album);

// --- many files ---
int albumTagAllFiles(const QStringList& files, const QString& album, ProgressTarget* bar = nullptr);
int albumUntagAllFiles(const QStringList& files, const QString& album, ProgressTarget* bar = nullptr);
QStringList filterFilesOn(const QStringList& files, const QString& album, ProgressTarget* bar = nullptr);
QStringList getUntagged(const QStringList& files, ProgressTarget* bar = nullptr);

// Re-encodes an image as base.jpg (or base_0.jpg, base_1.jpg... when taken), announces it, then deletes
// the source. No result when the image cannot be decoded or written; the source stays.
std::optional<QString> convertToJpg(const QString& file);

// --- the registry ---
void loadTagsFromFiles(const QStringList& files);
bool addTag(const QString& album);
bool addAllTags(const QStringList& albums);
bool removeTag(const QString& album);
QStringList getTags();
void fireTagListEvent();
bool loadTagList(const QString& file);
bool storeTagList(const QString& file);
// Empties the registry and forgets its listeners (tests start from nothing).
void resetRegistry();

void addTagChangelistener(TagListListener* listener);
void removeTagChangelistener(TagListListener* listener);
void addFileConversionListener(FileConversionListener* listener);
void removeFileConversionListener(FileConversionListener* listener);

} // namespace ExifTagUtil

} // namespace zentrova
