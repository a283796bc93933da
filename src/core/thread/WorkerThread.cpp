#include "thread/WorkerThread.h"

namespace zentrova {

WorkerThread::WorkerThread(const QString& name, std::function<void()> b, QObject* parent)
    : QThread(parent), body(std::move(b))
{
    setObjectName(name);
}

WorkerThread* WorkerThread::startDetached(const QString& name, std::function<void()> body)
{
    auto* thread = new WorkerThread(name, std::move(body));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

void WorkerThread::run()
{
    if (body)
        body();
}

} // namespace zentrova
