#pragma once

#include "thread/InterruptibleSleep.h"

#include <QString>
#include <QThread>

#include <functional>
#include <mutex>
#include <optional>

namespace zentrova {

// Shows the most recent selection: every POLL_MS it takes the one pending path (a newer request replaces
// an older one) unless an image is being shown, and hands it to `show` on this thread.
class ImageLoaderThread : public QThread {
    Q_OBJECT
public:
    static constexpr int POLL_MS = 250;

    explicit ImageLoaderThread(std::function<void(const QString&)> show, QObject* parent = nullptr);
    ~ImageLoaderThread() override;
    void loadFile(const QString& path);
    void setDone(bool done);
    bool isDone() const;

protected:
    void run() override;

private:
    std::function<void(const QString&)> show;
    mutable std::mutex lock;
    std::optional<QString> pending;
    bool done = false;
    InterruptibleSleep sleeper;
};

} // namespace zentrova
