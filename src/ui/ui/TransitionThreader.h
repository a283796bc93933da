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
    explicit TransitionThreader(SlidePane* pane);
    void requestStop();
    bool stopRequested() const { return stopFlag.load(); }

protected:
    void run() override;

private:
    SlidePane* pane;
    std::atomic<bool> stopFlag{false};
    InterruptibleSleep sleeper;
};

} // namespace zentrova
