#pragma once

#include "image/ExifPatcher.h"
#include "image/TiffBlock.h"

#include <QString>

#include <optional>

namespace zentrova {

// Reading and safely rewriting the EXIF block of a JPEG file.
namespace ExifFile {

// The EXIF of a JPEG file as read from its header (up to the end of the first EXIF APP1).
struct Contents {
    bool hasExif = false;
    TiffBlock block;
};

// False with a message when the file cannot be read or is not a sound JPEG, or its EXIF block is damaged.
bool read(const QString& path, Contents* out, QString* error = nullptr);
// The same from a file already in memory.
bool read(const QByteArray& file, Contents* out, QString* error = nullptr);

enum class TempName {
    DOT_TMP,     // the image's name followed by ".tmp"
    UNIQUE_EXIF, // "exif" + a unique part + "tmp", removed at exit if it is still there
};

enum class Failure {
    NONE,
    UNREADABLE,   // the file's metadata could not be read; nothing was written
    NOT_WRITABLE, // the EXIF block cannot be taken over for writing; nothing was written
    TEMP_FAILED,  // the temporary file could not be made; nothing was written
    WRITE_FAILED, // writing or checking the rewritten copy failed; the image is untouched
    REPLACE_FAILED, // the finished copy could not replace the image; the image is untouched
};

struct RewriteOptions {
    TempName tempName = TempName::UNIQUE_EXIF;
    bool keepTempOnWriteFailure = false;
};

// Rewrites the image with the change applied to its EXIF block. The new file is written beside the image
// (beside a symlink's target): every byte outside the EXIF APP1 is copied unchanged, the result is flushed,
// takes the image's permissions, is read back with our reader and with exiv2, and only then replaces the
// image in one rename. On failure the image is untouched and *failure says where it stopped.
bool rewrite(const QString& path, const ExifChange& change, const RewriteOptions& options,
             Failure* failure = nullptr, QString* error = nullptr, QString* tempPath = nullptr);

// The path a symlink finally points at, or the path itself.
QString resolvedPath(const QString& path);

} // namespace ExifFile

} // namespace zentrova
