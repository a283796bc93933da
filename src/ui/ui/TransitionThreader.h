#pragma once

#include "thread/InterruptibleSleep.h"

#include <QThread>

#include <atomic>

namespace zentrova {

class SlidePane;

// The animation of one change of picture in a SlidePane: advances the pane's percent step by step and
// posts a repaint for each frame; painting stays on the UI thread. Stops at the next frame when asked.
class TransitionThreader : public QThread {
    Q_OBJECT
public:
    // `generation` names the setFile this animation belongs to.
    TransitionThreader(SlidePane* pane, quint64 generation);
    void requestStop();
    bool stopRequested() const { return stopFlag.load(); }

protected:
    void run() override;

private:
    bool current() const; // the pane still shows our setFile; callers hold the pane's lock
    SlidePane* pane;
    quint64 generation;
    std::atomic<bool> stopFlag{false};
    InterruptibleSleep sleeper;
};

} // namespace zentrova
