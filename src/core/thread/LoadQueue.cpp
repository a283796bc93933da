#include "thread/LoadQueue.h"

namespace zentrova {

LoadQueue::LoadQueue(const QString& name, QObject* parent) : QThread(parent)
{
    setObjectName(name);
    start();
}

LoadQueue::~LoadQueue()
{
    {
        std::lock_guard guard(lock);
        stopping = true;
        jobs.clear();
    }
    wake.notify_all();
    wait();
}

void LoadQueue::enqueue(std::function<void()> job)
{
    {
        std::lock_guard guard(lock);
        jobs.push_back(std::move(job));
    }
    wake.notify_all();
}

bool LoadQueue::busy() const
{
    std::lock_guard guard(lock);
    return running || !jobs.empty();
}

void LoadQueue::run()
{
    while (true) {
        std::function<void()> job;
        {
            std::unique_lock guard(lock);
            wake.wait(guard, [this] { return stopping || !jobs.empty(); });
            if (stopping)
                return;
            job = std::move(jobs.front());
            jobs.pop_front();
            running = true;
        }
        job();
        std::lock_guard guard(lock);
        running = false;
    }
}

} // namespace zentrova
