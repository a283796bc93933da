#include "ui/ReloadThread.h"

#include "models/FileTableModel.h"
#include "thread/SlideTimer.h"
#include "ui/ZentrovaFrame.h"
#include "util/Prompter.h"

#include <chrono>

namespace zentrova {

ReloadThread::ReloadThread(ZentrovaFrame* frame, std::function<SlideTimer*()> timer, QObject* parent)
    : QThread(parent), frame(frame), timer(std::move(timer))
{
    setObjectName(QStringLiteral("ReloadThread"));
}

ReloadThread::~ReloadThread()
{
    setDone(true);
    wait();
}

void ReloadThread::setPaused(bool p)
{
    paused = p;
    if (Prompter* prompter = Prompter::current())
        prompter->showNotice(p ? QStringLiteral("Reloader is paused") : QStringLiteral("Reloader restarting"), 1000);
    if (!p)
        counter = interval.load(); // the next reload comes at once
}

void ReloadThread::setDone(bool d)
{
    done = d;
    if (d)
        sleeper.setDone();
}

void ReloadThread::reloadNewestFirst()
{
    frame->loadFiles(frame->getLastLoad(), false);
    frame->waitForLoadsToEnd();
    frame->catalogue().sort(QStringLiteral("MODIFIED"), true);
}

void ReloadThread::run()
{
    while (!done) {
        if (frame->getLastLoad().isEmpty() || !timer() || frame->getReloader() != this)
            return;
        if (!paused) {
            reloadNewestFirst();
            if (SlideTimer* t = timer())
                t->setFiles(frame->catalogue().getFileList());
        }
        for (counter = 0; counter < interval && !done; counter += STEP_MS)
            sleeper.sleepFor(std::chrono::milliseconds(STEP_MS));
    }
    if (frame->getReloader() == this)
        frame->setReloader(nullptr);
    if (!frame->getLastLoad().isEmpty())
        reloadNewestFirst();
}

} // namespace zentrova
