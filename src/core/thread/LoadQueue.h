#pragma once

#include <QThread>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zentrova {

// One worker that runs jobs one at a time, in the order they were queued (loads take effect in the order
// requested). Destroying it lets the running job end and drops the ones still waiting.
class LoadQueue : public QThread {
    Q_OBJECT
public:
    explicit LoadQueue(const QString& name, QObject* parent = nullptr);
    ~LoadQueue() override;
    void enqueue(std::function<void()> job);
    // True while a job runs or waits.
    bool busy() const;

protected:
    void run() override;

private:
    mutable std::mutex lock;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool running = false;
    bool stopping = false;
};

} // namespace zentrova
