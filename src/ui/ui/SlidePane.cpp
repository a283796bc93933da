#include "ui/SlidePane.h"

#include "image/ImageIO.h"
#include "image/TransitionEffect.h"
#include "ui/TransitionThreader.h"
#include "ui/UiThread.h"
#include "util/Console.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QRandomGenerator>

namespace zentrova {

using namespace TransitionEffect;

SlidePane::SlidePane(QWidget* parent) : QWidget(parent)
{
    captionFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    captionFont.setBold(true);
    captionFont.setPointSize(16);
    captionColour = QColor(192, 192, 192);
    errorFont = QApplication::font();
    errorFont.setBold(true);
    errorFont.setPointSize(24);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    // The decode-error line is drawn in the foreground colour: black on black would hide it.
    p.setColor(QPalette::WindowText, QColor(192, 192, 192));
    setPalette(p);
    setCursor(Qt::CrossCursor);
}

SlidePane::SlidePane(const QString& file, int index, QWidget* parent) : SlidePane(parent)
{
    setFile(file, index);
}

SlidePane::~SlidePane()
{
    stopWorker();
}

void SlidePane::stopWorker()
{
    std::unique_ptr<TransitionThreader> old;
    {
        std::lock_guard guard(workerLock);
        old = std::move(worker);
    }
    if (old) {
        old->requestStop();
        old->wait();
    }
}

void SlidePane::waitForTransition()
{
    std::lock_guard guard(workerLock);
    if (worker)
        worker->wait();
}

void SlidePane::holdTransitionAt(float percent)
{
    QImage keep;
    {
        std::lock_guard guard(lock);
        keep = s.previous;
    }
    stopWorker();
    {
        std::lock_guard guard(lock);
        s.previous = keep;
        s.percent = percent;
        s.doNotTransition = false;
    }
    requestRepaint();
}

void SlidePane::postRepaint()
{
    QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void SlidePane::requestRepaint()
{
    onUiThread(this, [this] { update(); });
}

void SlidePane::notifyChanged()
{
    listeners.notify([this](ChangeListener* l) { l->stateChanged(this); });
}

std::optional<QSize> SlidePane::setFile(const std::optional<QString>& file, int index, int total)
{
    {
        std::lock_guard guard(lock);
        s.decodeError.clear();
        ++s.generation;
        s.transitioning = true;
        s.file = file;
        s.fileName = file ? QFileInfo(*file).fileName() : QStringLiteral("not set");
        s.index = index;
        s.total = total;
        s.previous = s.current;
        if (!file) {
            s.current = QImage();
            s.transitioning = false;
        }
    }
    if (!file) {
        requestRepaint();
        return std::nullopt;
    }
    // Reading and decoding happen outside the lock, so painting goes on meanwhile.
    QFile probe(*file);
    if (!probe.open(QIODevice::ReadOnly)) {
        {
            std::lock_guard guard(lock);
            s.readError = probe.errorString() + QStringLiteral(": ") + *file;
            s.transitioning = false;
            s.current = s.previous;
        }
        requestRepaint();
        return std::nullopt;
    }
    probe.close();
    QString error;
    const QImage image = ImageIO::read(*file, &error);
    if (image.isNull()) {
        std::lock_guard guard(lock);
        s.current = QImage();
        s.decodeError = QStringLiteral("The image decoder returned no image for ") + *file;
        s.transitioning = false;
        return std::nullopt; // the line shows at the next repaint
    }
    {
        std::lock_guard guard(lock);
        s.current = image;
        s.landscape = image.width() > image.height();
        if (s.previous.isNull())
            s.previous = s.current;
        s.currentAspect = float(image.height()) / float(image.width());
        s.previousAspect = float(s.previous.height()) / float(s.previous.width());
    }
    startTransition();
    notifyChanged();
    requestRepaint();
    return image.size();
}

void SlidePane::startTransition()
{
    int effect;
    {
        std::lock_guard guard(lock);
        if (s.previous.isNull() || s.current.isNull())
            return;
        effect = s.effect;
    }
    stopWorker();
    if (effect == TRANSITION_EFFECT_NONE) {
        postRepaint();
        return;
    }
    quint64 generation;
    {
        std::lock_guard guard(lock);
        generation = s.generation;
    }
    auto fresh = std::make_unique<TransitionThreader>(this, generation);
    fresh->start(QThread::HighestPriority);
    std::lock_guard guard(workerLock);
    worker = std::move(fresh);
}

std::optional<QString> SlidePane::getFile() const
{
    std::lock_guard guard(lock);
    return s.file;
}

QString SlidePane::getFileName() const
{
    std::lock_guard guard(lock);
    return s.fileName;
}

std::optional<QSize> SlidePane::getCurrentImageSize() const
{
    std::lock_guard guard(lock);
    if (s.current.isNull())
        return std::nullopt;
    return s.current.size();
}

float SlidePane::getCurrentImageAspect() const
{
    std::lock_guard guard(lock);
    return s.currentAspect;
}

float SlidePane::getPaneAspect() const
{
    std::lock_guard guard(lock);
    return s.paneAspect;
}

std::optional<QImage> SlidePane::getSubImageAt(int x, int y, QSize size) const
{
    std::lock_guard guard(lock);
    if (s.current.isNull())
        return std::nullopt;
    return s.current.copy(QRect(QPoint(x, y), size));
}

void SlidePane::zoomTo(std::optional<QPoint> point)
{
    {
        std::lock_guard guard(lock);
        if (s.current.isNull())
            return;
        if (!point) {
            s.zoom = QImage();
        } else {
            const SlideGeometry::Fit fit = SlideGeometry::fit(width(), height(), s.currentAspect, s.current.size());
            const std::optional<QRect> region = SlideGeometry::zoomRegion(*point, fit, s.current.size());
            if (!region)
                return;
            s.zoom = s.current.copy(*region);
        }
    }
    if (point) {
        QCursor::setPos(mapToGlobal(QPoint(width() / 2, height() / 2)));
        if (QCursor::pos() != mapToGlobal(QPoint(width() / 2, height() / 2)) && isVisible())
            Console::err(QStringLiteral("zoomTo: the pointer could not be moved"));
    }
    requestRepaint();
}

void SlidePane::setTransEffect(int effect)
{
    {
        std::lock_guard guard(lock);
        if (effect == TRANSITION_EFFECT_RANDOM) {
            s.random = true;
            s.effect = getRandomInt(1, 5);
        } else {
            s.random = false;
            s.effect = effect;
        }
    }
    notifyChanged();
}

int SlidePane::getTransEffect() const
{
    std::lock_guard guard(lock);
    return s.random ? TRANSITION_EFFECT_RANDOM : s.effect;
}

void SlidePane::setDoNotTransition(bool on)
{
    std::lock_guard guard(lock);
    s.doNotTransition = on;
}

bool SlidePane::isDoNotTransition() const
{
    std::lock_guard guard(lock);
    return s.doNotTransition;
}

bool SlidePane::isTransitioning() const
{
    std::lock_guard guard(lock);
    return s.transitioning;
}

void SlidePane::setShowAllCaptions(bool on)
{
    std::lock_guard guard(lock);
    s.showDimension = s.showFileName = s.showIndex = on;
}

bool SlidePane::isShowAllCaptions() const
{
    std::lock_guard guard(lock);
    return s.showDimension && s.showFileName && s.showIndex;
}

void SlidePane::setShowImageDimension(bool on)
{
    std::lock_guard guard(lock);
    s.showDimension = on;
}

void SlidePane::setShowFileName(bool on)
{
    std::lock_guard guard(lock);
    s.showFileName = on;
}

void SlidePane::setShowIndex(bool on)
{
    std::lock_guard guard(lock);
    s.showIndex = on;
}

void SlidePane::setAddCaption(const std::optional<QString>& caption)
{
    std::lock_guard guard(lock);
    s.extraCaption = caption;
}

void SlidePane::setCaptionFont(const QFont& font)
{
    std::lock_guard guard(lock);
    captionFont = font;
}

void SlidePane::setCaptionColor(const QColor& colour)
{
    std::lock_guard guard(lock);
    captionColour = colour;
}

void SlidePane::setBusy(bool busy)
{
    onUiThread(this, [this, busy] { setCursor(busy ? Qt::WaitCursor : Qt::CrossCursor); });
}

void SlidePane::setWaiting(bool waiting)
{
    onUiThread(this, [this, waiting] { setCursor(waiting ? Qt::WaitCursor : Qt::ArrowCursor); });
}

int SlidePane::getRandomInt(int min, int max)
{
    const double u = QRandomGenerator::global()->generateDouble();
    return SlideGeometry::round(float(min + u * (max - min)));
}

void SlidePane::setStepDelays(int stepMs, int fadeStepMs)
{
    std::lock_guard guard(lock);
    s.stepDelay = stepMs;
    s.fadeStepDelay = fadeStepMs;
}

int SlidePane::getTransitionCount() const
{
    std::lock_guard guard(lock);
    return s.transitionCount;
}

float SlidePane::getPercent() const
{
    std::lock_guard guard(lock);
    return s.percent;
}

void SlidePane::setFrameObserver(std::function<void(float)> observer)
{
    frameObserver = std::move(observer);
}

void SlidePane::paintEvent(QPaintEvent*)
{
    // One consistent copy of the state; the images are shared, not copied.
    State v;
    QFont capFont;
    QColor capColour;
    {
        std::lock_guard guard(lock);
        s.paneAspect = height() > 0 && width() > 0 ? float(height()) / float(width()) : 0;
        v = s;
        capFont = captionFont;
        capColour = captionColour;
    }
    const int W = width(), H = height();
    QPainter p(this);
    p.fillRect(rect(), Qt::black);

    if (!v.decodeError.isEmpty()) {
        QFont f = QApplication::font();
        f.setBold(true);
        f.setPointSize(14);
        p.setFont(f);
        p.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics m(f);
        p.drawText(SlideGeometry::decodeErrorText(W, H, m.horizontalAdvance(v.decodeError), m.height()), v.decodeError);
        return;
    }
    const SlideGeometry::Fit fit = SlideGeometry::fit(W, H, v.currentAspect, v.current.size());
    const QRect r = fit.rect;
    if (!v.zoom.isNull()) {
        p.drawImage(r.topLeft(), v.zoom);
        return;
    }
    if (v.current.isNull())
        return;
    {
        std::lock_guard guard(lock);
        s.currentScale = fit.scale;
    }
    const QRect pr = v.previous.isNull() ? QRect() : SlideGeometry::fit(W, H, v.previousAspect, v.previous.size()).rect;
    auto drawInto = [&p](const QImage& image, const QRect& target) {
        p.fillRect(target, Qt::black);
        p.drawImage(target, image);
    };
    bool plain = v.doNotTransition;
    if (!plain) {
        switch (v.effect) {
        case TRANSITION_EFFECT_NONE:
            plain = true;
            break;
        case TRANSITION_EFFECT_HORIZONTAL:
        case TRANSITION_EFFECT_VERTICAL:
            drawInto(v.current, SlideGeometry::slideRect(r, v.percent, v.transitionCount, v.effect == TRANSITION_EFFECT_VERTICAL));
            break;
        case TRANSITION_EFFECT_INSIDE_OUT:
            if (!v.previous.isNull())
                drawInto(v.previous, pr);
            drawInto(v.current, SlideGeometry::insideOutRect(r, v.percent));
            break;
        case TRANSITION_EFFECT_OUTSIDE_IN:
            drawInto(v.current, r);
            if (!v.previous.isNull())
                drawInto(v.previous, SlideGeometry::outsideInRect(pr, v.percent));
            break;
        case TRANSITION_EFFECT_FADE:
            if (!v.previous.isNull())
                drawInto(v.previous, pr);
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.setOpacity(v.percent);
            p.drawImage(r, v.current);
            p.restore();
            break;
        default:
            drawInto(v.current, r);
        }
    }
    if (plain) {
        drawInto(v.current, r);
        std::lock_guard guard(lock);
        s.transitioning = false;
    }

    if (!v.readError.isEmpty()) {
        p.setFont(errorFont);
        p.setPen(Qt::red);
        const QFontMetrics m(errorFont);
        p.drawText(SlideGeometry::readErrorText(W, H, m.horizontalAdvance(v.readError), m.ascent()), v.readError);
        std::lock_guard guard(lock);
        s.readError.clear();
    }

    p.setFont(capFont);
    p.setPen(capColour);
    const QFontMetrics m(capFont);
    if (v.showDimension) {
        const QString text = QStringLiteral("%1x%2").arg(v.current.width()).arg(v.current.height());
        p.drawText(SlideGeometry::imageSizeCaption(W, H, m.horizontalAdvance(text)), text);
    }
    if (v.showFileName)
        p.drawText(SlideGeometry::fileNameCaption(W, H, m.horizontalAdvance(v.fileName)), v.fileName);
    if (v.showIndex) {
        const QString text = QStringLiteral("%1 of %2").arg(v.index + 1).arg(v.total);
        p.drawText(SlideGeometry::indexCaption(W, H), text);
    }
    if (v.extraCaption && !v.extraCaption->isEmpty())
        p.drawText(SlideGeometry::extraCaption(W, m.horizontalAdvance(*v.extraCaption), m.height()), *v.extraCaption);
}

} // namespace zentrova
