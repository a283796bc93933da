#include "ui/FileIndexProgressBar.h"

#include "ui/Resources.h"
#include "ui/UiThread.h"
#include "util/ProgressCaption.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

FileIndexProgressBar::FileIndexProgressBar(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FileIndexProgressBar"));
    setWindowIcon(QPixmap::fromImage(Resources::iconImage()));
    bar = new QProgressBar(this);
    bar->setTextVisible(true);
    bar->setAlignment(Qt::AlignCenter);
    bar->setStyleSheet(QStringLiteral("QProgressBar { background: white; font-weight: bold; font-size: 12pt; "
                                      "border: 1px solid #00008b; } QProgressBar::chunk { background: #00008b; }"));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(bar);
    setFixedSize(400, 25);
}

void FileIndexProgressBar::setProgress(int value, int maximum)
{
    onUiThread(this, [this, value, maximum] {
        if (maximum > 0) {
            bar->setRange(0, maximum);
            bar->setValue(value);
            const QString caption = ProgressCaption::caption(value, maximum);
            bar->setFormat(caption);
            setWindowTitle(caption);
        } else {
            bar->setRange(0, 0);
            bar->setFormat(LOADING_TEXT);
        }
    });
}

void FileIndexProgressBar::setIndeterminate(bool indeterminate)
{
    onUiThread(this, [this, indeterminate] {
        if (indeterminate)
            bar->setRange(0, 0);
        else if (bar->maximum() == 0)
            bar->setRange(0, 100);
    });
}

void FileIndexProgressBar::setString(const QString& text)
{
    onUiThread(this, [this, text] { bar->setFormat(text); });
}

void FileIndexProgressBar::setDeterminate(int minimum, int maximum, int value)
{
    onUiThread(this, [this, minimum, maximum, value] {
        bar->setRange(minimum, maximum);
        bar->setValue(value);
    });
}

void FileIndexProgressBar::setValue(int value)
{
    onUiThread(this, [this, value] { bar->setValue(value); });
}

void FileIndexProgressBar::showCentred()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
    show();
    raise();
}

void FileIndexProgressBar::closeLater()
{
    onUiThread(this, [this] { close(); });
}

} // namespace zentrova
