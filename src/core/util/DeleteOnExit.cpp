#include "util/DeleteOnExit.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace zentrova {

namespace {
struct Registry {
    std::mutex mutex;
    std::vector<std::string> paths;
    bool hooked = false;
};
Registry& registry()
{
    // Never destroyed: the exit handler may run after static destructors have started.
    static Registry* r = new Registry;
    return *r;
}
void removeAtExit()
{
    DeleteOnExit::removeAll();
}
} // namespace

void DeleteOnExit::add(const QString& path)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const std::string p = path.toStdString();
    for (const auto& known : r.paths)
        if (known == p)
            return;
    r.paths.push_back(p);
    if (!r.hooked) {
        r.hooked = true;
        std::atexit(removeAtExit);
    }
}

bool DeleteOnExit::contains(const QString& path)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const std::string p = path.toStdString();
    for (const auto& known : r.paths)
        if (known == p)
            return true;
    return false;
}

void DeleteOnExit::removeAll()
{
    Registry& r = registry();
    std::vector<std::string> paths;
    {
        std::lock_guard lock(r.mutex);
        paths.swap(r.paths);
    }
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        std::error_code ec;
        // Like a delete-at-exit file: a plain file or an empty folder goes, a full folder stays.
        std::filesystem::remove(*it, ec);
    }
}

} // namespace zentrova
