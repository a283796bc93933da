#include "ui/ImagePreviewDialog.h"

#include "image/SlideGeometry.h"
#include "ui/Resources.h"
#include "ui/SlidePane.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

namespace {
QSize screenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1920, 1080);
}
} // namespace

ImagePreviewDialog::ImagePreviewDialog(const QStringList& list, QWidget* parent) : QDialog(parent), files(list)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("No file loaded"));
    setWindowIcon(QIcon(QPixmap::fromImage(Resources::iconImage())));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    slidePane = new SlidePane(this);
    slidePane->setTransEffect(0);
    slidePane->setToolTip(TOOL_TIP);
    slidePane->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(slidePane);

    auto* closePane = new QAction(this);
    closePane->setObjectName(QStringLiteral("closePane"));
    closePane->setShortcut(QKeySequence(Qt::Key_Escape));
    closePane->setShortcutContext(Qt::WindowShortcut);
    connect(closePane, &QAction::triggered, this, &QDialog::close);
    addAction(closePane);

    setGeometry(SlideGeometry::initialPreviewWindow(screenSize(), SHARE_OF_SCREEN));
    showAt(0);
    show();
}

void ImagePreviewDialog::showNext()
{
    showAt(std::min(current + 1, int(files.size()) - 1));
}

void ImagePreviewDialog::showPrevious()
{
    showAt(std::max(current - 1, 0));
}

void ImagePreviewDialog::showAt(int position)
{
    if (files.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    current = position;
    setWindowTitle(QStringLiteral("Image %1 of %2").arg(current + 1).arg(files.size()));
    const std::optional<QSize> size = slidePane->setFile(files[current], current, int(files.size()));
    // An undecodable picture keeps the window's size: there is nothing to fit it to.
    if (size)
        setGeometry(SlideGeometry::previewWindow(screenSize(), *size, SHARE_OF_SCREEN));
    QApplication::restoreOverrideCursor();
}

bool ImagePreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == slidePane && event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            showNext();
        else
            showPrevious();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zentrova
