#pragma once

#include "event/BusyListener.h"
#include "event/ChangeListener.h"
#include "event/ListenerList.h"
#include "event/SlideDisplay.h"
#include "image/SlideGeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace zentrova {

class TransitionThreader;

// Shows one image scaled to fit on black, with optional captions, a 1:1 zoom under a pressed point and
// animated changes from one image to the next. setFile may run on any thread (the image loader, the slide
// timer); its state is guarded so a paint on the UI thread always sees one whole setFile or the other.
class SlidePane : public QWidget, public SlideDisplay, public BusyListener {
    Q_OBJECT
public:
    explicit SlidePane(QWidget* parent = nullptr);
    SlidePane(const QString& file, int index, QWidget* parent = nullptr);
    ~SlidePane() override;

    std::optional<QSize> setFile(const std::optional<QString>& file, int index = -1, int total = -1) override;
    std::optional<QString> getFile() const;
    QString getFileName() const;
    std::optional<QSize> getCurrentImageSize() const;
    float getCurrentImageAspect() const;
    float getPaneAspect() const;

    void zoomTo(std::optional<QPoint> point);
    std::optional<QImage> getSubImageAt(int x, int y, QSize size) const;

    void setTransEffect(int effect);
    int getTransEffect() const;
    void setDoNotTransition(bool on);
    bool isDoNotTransition() const;
    bool isTransitioning() const override;

    void setShowAllCaptions(bool on) override;
    bool isShowAllCaptions() const;
    void setShowImageDimension(bool on);
    void setShowFileName(bool on);
    void setShowIndex(bool on) override;
    void setAddCaption(const std::optional<QString>& caption) override;
    void setCaptionFont(const QFont& font);
    void setCaptionColor(const QColor& colour);

    void setBusy(bool busy) override;
    void setWaiting(bool waiting);
    void requestRepaint() override;

    void addChangeListener(ChangeListener* l) { listeners.add(l); }
    void removeChangeListener(ChangeListener* l) { listeners.remove(l); }

    // round(min + u × (max − min)) for u uniform in [0, 1).
    static int getRandomInt(int min, int max);

    // The animation's pace (5 ms steps, 250 ms for the fade), shortened by tests and benchmarks.
    void setStepDelays(int stepMs, int fadeStepMs);
    int getTransitionCount() const;
    float getPercent() const;
    // Told of every animation frame the worker posts (its percent), on the worker's thread.
    void setFrameObserver(std::function<void(float)> observer);
    // Waits until no transition worker runs (tests, closing).
    void waitForTransition();
    // Stops the animation and holds it at this percent, the previous picture kept (for looking at a frame).
    void holdTransitionAt(float percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TransitionThreader;
    struct State {
        QImage current, previous, zoom;
        std::optional<QString> file;
        QString fileName = QStringLiteral("no file");
        int index = -1, total = -1;
        bool showDimension = false, showFileName = false, showIndex = false;
        std::optional<QString> extraCaption;
        QString readError, decodeError;
        int effect = 0;
        bool random = false;
        float percent = 0;
        int transitionCount = 0;
        float currentAspect = 0, previousAspect = 0, paneAspect = 0, currentScale = 0;
        bool transitioning = false, doNotTransition = true, landscape = false, drawn = false;
        float increment = 0.005f;
        int stepDelay = 5, fadeStepDelay = 250;
        quint64 generation = 0; // one per setFile: a worker of an older one leaves the state alone
    };
    void startTransition();
    void stopWorker();
    void notifyChanged();
    void postRepaint();

    QFont captionFont;
    QColor captionColour;
    QFont errorFont;
    mutable std::mutex lock;
    State s;
    std::mutex workerLock;
    std::unique_ptr<TransitionThreader> worker;
    std::function<void(float)> frameObserver;
    ListenerList<ChangeListener> listeners;
};

} // namespace zentrova
