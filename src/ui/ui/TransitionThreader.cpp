#include "ui/TransitionThreader.h"

#include "image/TransitionEffect.h"
#include "ui/SlidePane.h"

#include <chrono>

namespace zentrova {

TransitionThreader::TransitionThreader(SlidePane* pane) : pane(pane)
{
    setObjectName(QStringLiteral("TransitionThreader"));
}

void TransitionThreader::requestStop()
{
    stopFlag = true;
    sleeper.setDone();
}

void TransitionThreader::run()
{
    auto finish = [this] {
        std::lock_guard guard(pane->lock);
        pane->s.transitioning = false;
    };
    float step;
    int delay;
    {
        std::lock_guard guard(pane->lock);
        pane->s.transitioning = true;
        if (pane->s.previous.isNull()) {
            pane->s.transitioning = false;
            return;
        }
        if (pane->s.random)
            pane->s.effect = SlidePane::getRandomInt(1, 4);
        pane->s.percent = 0;
        if (stopRequested()) {
            pane->s.transitioning = false;
            return;
        }
        step = pane->s.increment;
        delay = pane->s.stepDelay;
        if (pane->s.effect == TransitionEffect::TRANSITION_EFFECT_FADE) {
            if (pane->s.current.cacheKey() == pane->s.previous.cacheKey()) {
                pane->s.transitioning = false;
                return;
            }
            step = 0.05f;
            delay = pane->s.fadeStepDelay;
        }
    }
    auto advance = [this, step] {
        std::lock_guard guard(pane->lock);
        pane->s.percent += step;
        return pane->s.percent;
    };
    for (float percent = advance(); percent < 1; percent = advance()) {
        if (stopRequested())
            return finish();
        QThread::yieldCurrentThread();
        pane->postRepaint();
        if (pane->frameObserver)
            pane->frameObserver(percent);
        sleeper.sleepFor(std::chrono::milliseconds(delay));
    }
    {
        std::lock_guard guard(pane->lock);
        pane->s.drawn = true;
    }
    pane->notifyChanged();
    if (stopRequested())
        return finish();
    bool repaint = false;
    {
        std::lock_guard guard(pane->lock);
        if (pane->s.percent != 1.0f) {
            pane->s.percent = 1.0f;
            repaint = true;
        }
    }
    if (repaint) {
        pane->postRepaint();
        if (pane->frameObserver)
            pane->frameObserver(1.0f);
    }
    std::lock_guard guard(pane->lock);
    pane->s.previous = QImage();
    ++pane->s.transitionCount;
    pane->s.transitioning = false;
}

} // namespace zentrova
