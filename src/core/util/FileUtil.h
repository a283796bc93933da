#pragma once

#include <QDateTime>
#include <QString>

namespace zentrova {

class ProgressTarget;

// File operations shared by export, renaming, reorganizing, importing and the scale monitor.
// Failures answer false and put the platform's text in *error; nothing is thrown.
namespace FileUtil {

constexpr int BUFFER_SIZE = 4096;

// Streams infile to outfile through one 4096-byte buffer, truncating an existing outfile, and gives the copy
// the source's modification time. Progress (maximum = source size) is posted to the bar's own thread.
// A destination written only in part is left on disk. A copy of a file onto itself (the same file, by
// identity, whatever the names) is refused before anything is opened for writing.
bool copyFile(const QString& infile, const QString& outfile, ProgressTarget* bar = nullptr, QString* error = nullptr);

// A complete copy, then the source's removal; the copy stays when the removal fails
// ("Cannot remove soucre file: " + the source's file name).
bool moveFile(const QString& src, const QString& dest, ProgressTarget* bar = nullptr, QString* error = nullptr);

// Removes a folder and everything below it. False for a path that is not a folder, and at the first entry
// that cannot be removed (entries not yet reached stay).
bool removeDirectory(const QString& dir);

// The file's last modification, to the millisecond; a file that cannot be read reads as 1970-01-01 UTC.
QDateTime modificationTime(const QString& path);
// True when both paths name the same existing file (same device and inode).
bool isSameFile(const QString& a, const QString& b);

} // namespace FileUtil
} // namespace zentrova
