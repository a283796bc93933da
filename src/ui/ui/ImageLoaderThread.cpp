#include "ui/ImageLoaderThread.h"

#include <chrono>

namespace zentrova {

ImageLoaderThread::ImageLoaderThread(std::function<void(const QString&)> show, QObject* parent)
    : QThread(parent), show(std::move(show))
{
    setObjectName(QStringLiteral("ImageLoaderThread"));
}

ImageLoaderThread::~ImageLoaderThread()
{
    setDone(true);
    wait();
}

void ImageLoaderThread::loadFile(const QString& path)
{
    std::lock_guard guard(lock);
    pending = path;
}

void ImageLoaderThread::setDone(bool d)
{
    {
        std::lock_guard guard(lock);
        done = d;
    }
    if (d)
        sleeper.setDone();
}

bool ImageLoaderThread::isDone() const
{
    std::lock_guard guard(lock);
    return done;
}

void ImageLoaderThread::run()
{
    while (!isDone()) {
        sleeper.sleepFor(std::chrono::milliseconds(POLL_MS));
        std::optional<QString> next;
        {
            std::lock_guard guard(lock);
            if (done)
                return;
            next.swap(pending);
        }
        if (next)
            show(*next); // requests arriving meanwhile wait; only the latest of them is shown next
    }
}

} // namespace zentrova
