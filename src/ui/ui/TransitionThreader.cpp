#include "ui/TransitionThreader.h"

#include "image/TransitionEffect.h"
#include "ui/SlidePane.h"

#include <chrono>

namespace zentrova {

TransitionThreader::TransitionThreader(SlidePane* pane, quint64 generation) : pane(pane), generation(generation)
{
    setObjectName(QStringLiteral("TransitionThreader"));
}

void TransitionThreader::requestStop()
{
    stopFlag = true;
    sleeper.setDone();
}

bool TransitionThreader::current() const
{
    return pane->s.generation == generation;
}

void TransitionThreader::run()
{
    auto finish = [this] {
        std::lock_guard guard(pane->lock);
        if (current())
            pane->s.transitioning = false;
    };
    float step;
    int delay;
    {
        std::lock_guard guard(pane->lock);
        if (!current())
            return;
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
        if (!current())
            return 2.0f; // a newer picture took over: end without touching its state
        pane->s.percent += step;
        return pane->s.percent;
    };
    float percent = advance();
    for (; percent < 1; percent = advance()) {
        if (stopRequested())
            return finish();
        QThread::yieldCurrentThread();
        pane->postRepaint();
        if (pane->frameObserver)
            pane->frameObserver(percent);
        sleeper.sleepFor(std::chrono::milliseconds(delay));
    }
    if (percent > 1.5f)
        return;
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
        if (!current())
            return;
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
    if (!current())
        return;
    pane->s.previous = QImage();
    ++pane->s.transitionCount;
    pane->s.transitioning = false;
}

} // namespace zentrova
