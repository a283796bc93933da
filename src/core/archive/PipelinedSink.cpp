#include "archive/PipelinedSink.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zentrova {

struct PipelinedSink::Impl {
    ByteSink& inner;
    const int bufferSize;
    const size_t depth;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<QByteArray> queue;
    QByteArray filling;
    bool closing = false;
    bool failed = false;
    bool finished = false;
    QString failure;
    std::thread worker;

    Impl(ByteSink& i, int size, int d) : inner(i), bufferSize(size), depth(static_cast<size_t>(d))
    {
        worker = std::thread([this] { run(); });
    }

    void run()
    {
        for (;;) {
            QByteArray next;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return !queue.empty() || closing; });
                if (queue.empty())
                    return;
                next = std::move(queue.front());
                queue.pop_front();
            }
            changed.notify_all();
            QString error;
            if (!failed && !inner.write(next.constData(), next.size(), &error)) {
                std::lock_guard lock(mutex);
                failed = true;
                failure = error;
            }
        }
    }

    bool push(QString* error)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return queue.size() < depth || failed; });
        if (failed) {
            if (error)
                *error = failure;
            return false;
        }
        queue.push_back(std::move(filling));
        filling = QByteArray();
        filling.reserve(bufferSize);
        changed.notify_all();
        return true;
    }

    void stop()
    {
        {
            std::lock_guard lock(mutex);
            closing = true;
        }
        changed.notify_all();
        if (worker.joinable())
            worker.join();
    }
};

PipelinedSink::PipelinedSink(ByteSink& inner, int bufferSize, int queueDepth)
    : d(std::make_unique<Impl>(inner, bufferSize, queueDepth))
{
    d->filling.reserve(bufferSize);
}

PipelinedSink::~PipelinedSink()
{
    d->stop();
}

bool PipelinedSink::write(const char* data, qint64 size, QString* error)
{
    while (size > 0) {
        const qint64 room = d->bufferSize - d->filling.size();
        const qint64 take = std::min(room, size);
        d->filling.append(data, take);
        data += take;
        size -= take;
        if (d->filling.size() >= d->bufferSize && !d->push(error))
            return false;
    }
    return true;
}

bool PipelinedSink::finish(QString* error)
{
    if (d->finished)
        return true;
    d->finished = true;
    if (!d->filling.isEmpty() && !d->push(error))
        return false;
    d->stop();
    if (d->failed) {
        if (error)
            *error = d->failure;
        return false;
    }
    return d->inner.finish(error);
}

} // namespace zentrova
