#include "ui/LoadProgressWindow.h"

#include "ui/UiThread.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

LoadProgressWindow::LoadProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("LoadProgressWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(progress);
    progress->setTextVisible(true);
    progress->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: blue; } QProgressBar { text-align: center; }"));
    setFixedSize(400, 20);
}

void LoadProgressWindow::showCentred()
{
    onUiThread(this, [this] {
        if (const QScreen* s = QGuiApplication::primaryScreen())
            move(s->geometry().center() - QPoint(200, 10));
        progress->setRange(0, 0);
        show();
    });
}

void LoadProgressWindow::setDeterminate(int minimum, int maximum, int value)
{
    onUiThread(this, [this, minimum, maximum, value] {
        progress->setRange(minimum, maximum);
        progress->setValue(value);
        if (maximum > minimum && value >= maximum)
            hide();
    });
}

void LoadProgressWindow::setValue(int value)
{
    onUiThread(this, [this, value] {
        progress->setValue(value);
        if (progress->maximum() > progress->minimum() && value >= progress->maximum())
            hide();
    });
}

void LoadProgressWindow::setIndeterminate(bool indeterminate)
{
    onUiThread(this, [this, indeterminate] {
        if (indeterminate)
            progress->setRange(0, 0);
    });
}

void LoadProgressWindow::setStringPainted(bool painted)
{
    onUiThread(this, [this, painted] { progress->setTextVisible(painted); });
}

} // namespace zentrova
