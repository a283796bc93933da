#pragma once

#include <QString>

#include <optional>

namespace zentrova {

// The default start-up folder, kept process-wide in startUpDir and stored in "Zentrova.startdir".
class StartDir {
public:
    // Resets startUpDir, then answers the stored folder if it still exists (and keeps it in startUpDir).
    static std::optional<QString> loadStartDir();
    // Writes startUpDir, only when it is set and exists. A failure is printed on the error output.
    static bool storeStartDir();
    static std::optional<QString> startUpDir();
    static void setStartUpDir(const std::optional<QString>& dir);
    // Deletes the file and leaves startUpDir as it is. False when the file exists and cannot be deleted.
    static bool removeStartDirFile();
};

} // namespace zentrova
