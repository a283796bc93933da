#pragma once

#include <QString>

#include <functional>

namespace zentrova {

// The process-wide log: one in-memory text buffer, never written to disk, never trimmed.
// Appends are serialized, so entries from different threads never interleave.
class AppLog {
public:
    using Observer = std::function<void(const QString& entry)>;

    // Appends "<default date text>:\n<message>\n\n" and tells the observers (on the calling thread).
    static void logMessage(const QString& message);
    static QString text();
    // Observers see every entry appended after they were added; the id removes them again.
    static int addObserver(Observer observer);
    static void removeObserver(int id);

    static QString entryFor(const QString& dateText, const QString& message);
};

} // namespace zentrova
