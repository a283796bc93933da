#pragma once

#include "event/ChangeListener.h"
#include "event/ListenerList.h"
#include "event/SlideDisplay.h"
#include "thread/InterruptibleSleep.h"

#include <QStringList>
#include <QThread>

#include <mutex>
#include <optional>

namespace zentrova {

// Walks a list of pictures on its own thread and hands each in turn to a display, every `delay`
// milliseconds (never less than 1000), waiting while the display animates. The navigation operations
// come from the UI thread; every operation keeps the list, index and flags consistent with the loop.
// Sleeps end at once on setDone.
class SlideTimer : public QThread {
    Q_OBJECT
public:
    static constexpr qint64 MINIMUM_DELAY = 1000;
    static constexpr qint64 TRANSITION_POLL = 1000;
    static inline const QString PAUSED_CAPTION = QStringLiteral("Paused press <SpaceBar> to continue");

    SlideTimer(SlideDisplay* pane, QStringList files, QObject* parent = nullptr);
    ~SlideTimer() override;

    void incrementIndex(int count);
    void decrementIndex(int count);
    void scrollToEnd();
    void scrollToBegining();
    void setIndex(int index);
    int getIndex() const;
    std::optional<QString> getIndexedFile() const;
    QStringList setFiles(const QStringList& files);
    QStringList getFiles() const;
    void setDelay(qint64 ms);
    qint64 getDelay() const;
    void setPaused(bool paused);
    bool isPaused() const;
    void setDone(bool done);
    bool isDone() const;
    void sort(int column, bool descending = false, bool ignoreCase = true);
    void skipTillFileNamePrefixChanges(bool reverse);
    void removeFile(const QString& file);
    void setPane(SlideDisplay* pane);
    SlideDisplay* getPane() const;

    void addChangeListener(ChangeListener* l) { listeners.add(l); }
    void removeChangeListener(ChangeListener* l) { listeners.remove(l); }

    // The slide-show window's mouse, wheel and window events.
    void mousePressed(bool primaryButton);
    void wheelMoved(int rotation);
    void windowClosing();
    void windowIconified();
    void windowDeiconified();

    // Real time per timer millisecond: 1 normally; tests run the loop faster with a smaller factor.
    void setTimeScale(double scale) { timeScale = scale; }

    // The first four characters of a name; a shorter name is its own prefix.
    static QString prefixOf(const QString& path);

protected:
    void run() override;

private:
    void show();            // shows the file at the index and notifies; callers hold no lock
    void sleepMs(qint64 ms);
    int wrap(int value) const; // value modulo the list's length; callers hold the lock

    mutable std::recursive_mutex lock;
    std::mutex showing; // one show at a time, so the display gets files in the order they were chosen
    SlideDisplay* pane;
    QStringList files;
    int index = -1;
    qint64 delay = MINIMUM_DELAY;
    bool paused = false;
    bool forwards = false;
    bool skipIteration = false;
    bool started = false;
    bool done = false;
    double timeScale = 1.0;
    InterruptibleSleep sleeper;
    ListenerList<ChangeListener> listeners;
};

} // namespace zentrova
