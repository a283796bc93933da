#include "ui/ThumbnailPanel.h"

#include "image/ImageIO.h"
#include "image/Resampler.h"
#include "image/SlideGeometry.h"
#include "util/Console.h"

#include <QFileInfo>
#include <QPainter>
#include <QVBoxLayout>

namespace zentrova {

class ThumbnailPanel::Inner : public QWidget {
public:
    explicit Inner(ThumbnailPanel* owner) : QWidget(owner), owner(owner) {}
    void fitTo(QSize s)
    {
        setMinimumSize(s);
        setMaximumSize(s);
        updateGeometry();
    }
    QSize sizeHint() const override { return owner->image.size(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, owner->image);
    }

private:
    ThumbnailPanel* owner;
};

ThumbnailPanel::ThumbnailPanel(int size, QWidget* parent) : QWidget(parent), size(size), inner(new Inner(this))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(192, 192, 192));
    setPalette(p);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 10, 0, 10);
    layout->addSpacing(25);
    layout->addWidget(inner, 0, Qt::AlignHCenter);
    layout->addSpacing(25);
    layout->addStretch();
    inner->fitTo(QSize(0, 0));
}

QSize ThumbnailPanel::sizeHint() const
{
    return QSize(size, size + 2 * 25 + 2 * 10);
}

void ThumbnailPanel::setFile(const std::optional<QString>& f)
{
    file = f;
    if (!f || !QFileInfo::exists(*f)) {
        image = QImage();
        inner->fitTo(QSize(0, 0));
        update();
        return;
    }
    QString error;
    // The decoder may hand back a reduced picture: the thumbnail needs only `size` pixels.
    // The size follows the whole picture (upright), not the reduced decode.
    QSize full;
    const QImage decoded = ImageIO::read(*f, &error, QSize(size, size), &full);
    if (decoded.isNull()) {
        Console::err(QStringLiteral("Thumbnail of ") + *f + QStringLiteral(": ") + error);
        return;
    }
    const QSize target = SlideGeometry::thumbnailSize(full, size);
    image = Resampler::resample(decoded.convertToFormat(QImage::Format_RGB32), target).convertToFormat(QImage::Format_RGB888);
    inner->fitTo(image.size());
    inner->update();
    update();
}

} // namespace zentrova
