#pragma once

#include <QByteArray>
#include <QString>

#include <mutex>

namespace zentrova {

// Writes a file so that nobody ever sees half of it: the bytes go to a temporary file beside the target,
// are flushed to disk, take the target's permissions, and replace the target in one rename. A symlink is
// followed, so the file it points at is replaced and the link stays. Until commit() the target is untouched;
// a writer destroyed without commit() removes its temporary file.
class AtomicFile {
public:
    explicit AtomicFile(const QString& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open(QString* error = nullptr);
    bool write(const char* data, qint64 size, QString* error = nullptr);
    bool write(const QByteArray& data, QString* error = nullptr) { return write(data.constData(), data.size(), error); }
    // With replaceExisting false an existing target is never replaced: the commit fails instead.
    bool commit(QString* error = nullptr, bool replaceExisting = true);
    void abort();

    QString targetPath() const { return resolved; }
    QString temporaryPath() const { return tempPath; }

    // Writes the whole content under the file's lock.
    static bool writeAll(const QString& target, const QByteArray& data, QString* error = nullptr);
    // Reads the whole file under the same lock.
    static bool readAll(const QString& path, QByteArray* data, QString* error = nullptr);
    // One lock per file (by absolute path), so a reader never overlaps a writer of the same file.
    static std::mutex& lockFor(const QString& path);

private:
    QString resolved;
    QString tempPath;
    int fd = -1;
};

// The platform's text for the last failed system call about a path, as in "/a/b (No such file or directory)".
QString systemErrorText(const QString& path, int errorNumber);

} // namespace zentrova
