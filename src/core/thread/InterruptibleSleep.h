#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zentrova {

// A sleep that setDone() cuts short at once, for the workers that wait between steps
// (slide timer, reloader, monitor, self-closing windows).
class InterruptibleSleep {
public:
    // True when the whole time passed; false when setDone() was called before or during the wait.
    bool sleepFor(std::chrono::milliseconds duration)
    {
        std::unique_lock lock(mutex);
        return !cond.wait_for(lock, duration, [this] { return done; });
    }
    void setDone()
    {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        cond.notify_all();
    }
    bool isDone() const
    {
        std::lock_guard lock(mutex);
        return done;
    }
    void reset()
    {
        std::lock_guard lock(mutex);
        done = false;
    }

private:
    mutable std::mutex mutex;
    std::condition_variable cond;
    bool done = false;
};

} // namespace zentrova
