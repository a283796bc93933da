#pragma once

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

namespace zentrova {

// An ordered list of listeners without duplicates. Notification is synchronous, in registration order,
// on the calling thread; it walks a snapshot, so a listener may add or remove listeners while notified.
template <typename T>
class ListenerList {
public:
    // Adding a listener that is already present does nothing.
    void add(T* listener)
    {
        if (!listener)
            return;
        std::lock_guard lock(mutex);
        if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
            listeners.push_back(listener);
    }

    void remove(T* listener)
    {
        std::lock_guard lock(mutex);
        listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
    }

    bool contains(T* listener) const
    {
        std::lock_guard lock(mutex);
        return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
    }

    std::size_t size() const
    {
        std::lock_guard lock(mutex);
        return listeners.size();
    }

    std::vector<T*> snapshot() const
    {
        std::lock_guard lock(mutex);
        return listeners;
    }

    void notify(const std::function<void(T*)>& call) const
    {
        for (T* l : snapshot())
            call(l);
    }

private:
    mutable std::mutex mutex;
    std::vector<T*> listeners;
};

} // namespace zentrova
