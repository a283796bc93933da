#pragma once

#include "thread/InterruptibleSleep.h"

#include <QThread>

#include <atomic>
#include <functional>

namespace zentrova {

class SlideTimer;
class ZentrovaFrame;

// The auto-reload of a slide show: every interval it loads the last load again, sorts it newest first and
// hands the list to the show's timer. Ends when there is nothing to load, no timer, or the window no longer
// names it as its reloader; when set done it loads once more.
class ReloadThread : public QThread {
    Q_OBJECT
public:
    static constexpr int STEP_MS = 100;

    ReloadThread(ZentrovaFrame* frame, std::function<SlideTimer*()> timer, QObject* parent = nullptr);
    ~ReloadThread() override;
    void setPaused(bool paused);
    bool isPaused() const { return paused; }
    void setDelay(qint64 ms) { interval = ms; }
    qint64 getDelay() const { return interval; }
    void setDone(bool d);
    bool isDone() const { return done; }

protected:
    void run() override;

private:
    void reloadNewestFirst();
    ZentrovaFrame* frame;
    std::function<SlideTimer*()> timer;
    std::atomic<bool> done{false};
    std::atomic<bool> paused{false};
    std::atomic<qint64> interval{60000};
    std::atomic<qint64> counter{0};
    InterruptibleSleep sleeper;
};

} // namespace zentrova
