#pragma once

#include <QString>

namespace zentrova {

// Paths to remove when the process ends in order (a return from main or std::exit).
// Removal runs in the reverse order of registration; a path registered twice is removed once.
class DeleteOnExit {
public:
    static void add(const QString& path);
    static bool contains(const QString& path);
    // Removes every registered path now and forgets them; also what the exit handler calls.
    static void removeAll();
};

} // namespace zentrova
