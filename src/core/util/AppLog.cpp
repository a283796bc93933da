#include "util/AppLog.h"

#include "util/DateText.h"

#include <map>
#include <mutex>

namespace zentrova {

namespace {
struct LogState {
    std::mutex mutex;
    QString buffer;
    std::map<int, AppLog::Observer> observers;
    int nextId = 1;
};
LogState& state()
{
    static LogState s;
    return s;
}
} // namespace

QString AppLog::entryFor(const QString& dateText, const QString& message)
{
    return dateText + QStringLiteral(":\n") + message + QStringLiteral("\n\n");
}

void AppLog::logMessage(const QString& message)
{
    LogState& s = state();
    std::map<int, Observer> observers;
    QString entry;
    {
        std::lock_guard lock(s.mutex);
        entry = entryFor(DateText::now(), message);
        s.buffer += entry;
        observers = s.observers;
    }
    for (auto& [id, observer] : observers)
        observer(entry);
}

QString AppLog::text()
{
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    return s.buffer;
}

int AppLog::addObserver(Observer observer)
{
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    const int id = s.nextId++;
    s.observers.emplace(id, std::move(observer));
    return id;
}

void AppLog::removeObserver(int id)
{
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.observers.erase(id);
}

} // namespace zentrova
