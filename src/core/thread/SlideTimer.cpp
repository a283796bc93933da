#include "thread/SlideTimer.h"

#include "data/FileSortComparator.h"
#include "util/Console.h"

#include <QFileInfo>

#include <chrono>

namespace zentrova {

SlideTimer::SlideTimer(SlideDisplay* pane, QStringList list, QObject* parent) : QThread(parent), pane(pane), files(std::move(list))
{
    setObjectName(QStringLiteral("SlideTimer"));
    if (pane)
        pane->setShowIndex(true);
}

SlideTimer::~SlideTimer()
{
    setDone(true);
    wait();
}

QString SlideTimer::prefixOf(const QString& path)
{
    return QFileInfo(path).fileName().left(4);
}

void SlideTimer::sleepMs(qint64 ms)
{
    sleeper.sleepFor(std::chrono::milliseconds(std::max<qint64>(0, qint64(double(ms) * timeScale))));
}

int SlideTimer::wrap(int value) const
{
    const int n = int(files.size());
    value %= n;
    return value < 0 ? value + n : value;
}

void SlideTimer::run()
{
    {
        std::lock_guard guard(lock);
        started = true;
    }
    auto usable = [this] {
        std::lock_guard guard(lock);
        return pane && !files.isEmpty();
    };
    while (!isDone()) {
        if (isPaused()) {
            sleepMs(getDelay());
            continue;
        }
        if (!usable())
            return;
        bool advance;
        {
            std::lock_guard guard(lock);
            advance = !skipIteration;
            skipIteration = false;
            if (advance) {
                index = index + 1 >= files.size() ? 0 : index + 1;
                forwards = true;
            }
        }
        if (advance)
            show();
        if (!usable())
            return;
        sleepMs(getDelay());
        while (!isDone() && usable() && getPane()->isTransitioning())
            sleepMs(TRANSITION_POLL);
    }
}

void SlideTimer::show()
{
    std::lock_guard order(showing);
    SlideDisplay* display;
    std::optional<QString> file;
    int at, total;
    {
        std::lock_guard guard(lock);
        display = pane;
        at = index;
        total = int(files.size());
        if (at >= 0 && at < total)
            file = files[at];
    }
    if (!display || !file)
        return;
    display->setFile(file, at, total);
    listeners.notify([this](ChangeListener* l) { l->stateChanged(this); });
}

void SlideTimer::incrementIndex(int count)
{
    {
        std::lock_guard guard(lock);
        if (files.isEmpty())
            return;
        index = wrap(int((qint64(index) + count) % files.size()));
        skipIteration = true;
        forwards = true;
    }
    show();
}

void SlideTimer::decrementIndex(int count)
{
    {
        std::lock_guard guard(lock);
        if (files.isEmpty())
            return;
        index = wrap(int((qint64(index) - count) % files.size()));
        skipIteration = true;
        forwards = false;
    }
    show();
}

void SlideTimer::scrollToEnd()
{
    {
        std::lock_guard guard(lock);
        if (files.isEmpty())
            return;
        index = int(files.size()) - 1;
        skipIteration = true;
        forwards = true;
    }
    show();
}

void SlideTimer::scrollToBegining()
{
    {
        std::lock_guard guard(lock);
        if (files.isEmpty())
            return;
        index = 0;
        skipIteration = true;
        forwards = false;
    }
    show();
}

void SlideTimer::setIndex(int i)
{
    std::lock_guard guard(lock);
    index = i;
    if (started)
        skipIteration = true;
}

int SlideTimer::getIndex() const
{
    std::lock_guard guard(lock);
    return index;
}

std::optional<QString> SlideTimer::getIndexedFile() const
{
    std::lock_guard guard(lock);
    if (index < 0 || index >= files.size())
        return std::nullopt;
    return files[index];
}

QStringList SlideTimer::setFiles(const QStringList& list)
{
    const bool wasPaused = isPaused();
    setPaused(true);
    {
        std::lock_guard guard(lock);
        files = list;
        index = files.isEmpty() ? -1 : 0;
        if (started)
            skipIteration = true;
    }
    show();
    setPaused(wasPaused);
    return getFiles();
}

QStringList SlideTimer::getFiles() const
{
    std::lock_guard guard(lock);
    return files;
}

void SlideTimer::setDelay(qint64 ms)
{
    std::lock_guard guard(lock);
    delay = std::max(ms, MINIMUM_DELAY);
    if (started)
        skipIteration = true;
}

qint64 SlideTimer::getDelay() const
{
    std::lock_guard guard(lock);
    return delay;
}

void SlideTimer::setPaused(bool p)
{
    SlideDisplay* display;
    {
        std::lock_guard guard(lock);
        paused = p;
        display = pane;
    }
    if (!display)
        return;
    display->setShowAllCaptions(p);
    if (p) {
        display->setAddCaption(PAUSED_CAPTION);
    } else {
        display->setAddCaption(std::nullopt);
        display->setShowIndex(true);
    }
    display->requestRepaint();
}

bool SlideTimer::isPaused() const
{
    std::lock_guard guard(lock);
    return paused;
}

void SlideTimer::setDone(bool d)
{
    {
        std::lock_guard guard(lock);
        done = d;
    }
    if (d)
        sleeper.setDone();
}

bool SlideTimer::isDone() const
{
    std::lock_guard guard(lock);
    return done;
}

void SlideTimer::sort(int column, bool descending, bool ignoreCase)
{
    const std::optional<QString> shown = getIndexedFile();
    setPaused(true);
    {
        std::lock_guard guard(lock);
        FileSortComparator(column, descending, ignoreCase).sort(files);
        if (shown)
            index = int(files.indexOf(*shown));
    }
    listeners.notify([this](ChangeListener* l) { l->stateChanged(this); });
}

void SlideTimer::skipTillFileNamePrefixChanges(bool reverse)
{
    bool wasPaused, found = false;
    {
        std::lock_guard guard(lock);
        wasPaused = paused;
        paused = true;
        if (index >= 0 && index < files.size()) {
            const QString prefix = prefixOf(files[index]);
            for (int i = index; i >= 0 && i < files.size(); i += reverse ? -1 : 1)
                if (!QFileInfo(files[i]).fileName().startsWith(prefix)) {
                    index = i;
                    found = true;
                    break;
                }
        }
    }
    if (found)
        show();
    std::lock_guard guard(lock);
    paused = wasPaused;
}

void SlideTimer::removeFile(const QString& file)
{
    bool wasPaused;
    {
        std::lock_guard guard(lock);
        wasPaused = paused;
        paused = true;
        files.removeOne(file);
        if (!forwards)
            index = std::max(index - 1, 0);
        if (index >= files.size())
            index = int(files.size()) - 1;
    }
    if (getIndexedFile())
        show();
    else if (SlideDisplay* display = getPane())
        display->setFile(std::nullopt); // the list is empty now; the loop ends on its next look
    std::lock_guard guard(lock);
    paused = wasPaused;
}

void SlideTimer::setPane(SlideDisplay* p)
{
    std::lock_guard guard(lock);
    pane = p;
}

SlideDisplay* SlideTimer::getPane() const
{
    std::lock_guard guard(lock);
    return pane;
}

void SlideTimer::mousePressed(bool primaryButton)
{
    if (primaryButton)
        incrementIndex(1);
    else
        decrementIndex(1);
}

void SlideTimer::wheelMoved(int rotation)
{
    incrementIndex(rotation);
}

void SlideTimer::windowClosing()
{
    Console::out(QStringLiteral("Stopping timer"));
    setDone(true);
}

void SlideTimer::windowIconified()
{
    Console::out(QStringLiteral("Pausing timer"));
    setPaused(true);
}

void SlideTimer::windowDeiconified()
{
    Console::out(QStringLiteral("Restarting timer"));
    setPaused(false);
}

} // namespace zentrova
