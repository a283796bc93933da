#include "ui/DualBarProgressBar.h"

#include "ui/Resources.h"
#include "ui/UiThread.h"
#include "util/ProgressCaption.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

namespace {
QProgressBar* makeBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setAlignment(Qt::AlignCenter);
    bar->setTextVisible(true);
    bar->setFormat(QString());
    bar->setMinimumWidth(360);
    bar->setStyleSheet(QStringLiteral("QProgressBar { background: white; border: 1px solid gray; } "
                                      "QProgressBar::chunk { background: #add8e6; }"));
    return bar;
}
} // namespace

DualBarProgressBar::DualBarProgressBar(const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("DualBarProgressBar"));
    setWindowIcon(QPixmap::fromImage(Resources::iconImage()));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("dualPanel"));
    panel->setStyleSheet(QStringLiteral("#dualPanel { background: #d3d3d3; }"));
    titleLabel = new QLabel(title, panel);
    titleLabel->setStyleSheet(QStringLiteral("font-weight: bold;"));
    titleLabel->setVisible(!title.isEmpty());
    bar1 = makeBar(panel);
    bar2 = makeBar(panel);
    auto* box = new QVBoxLayout(panel);
    box->setContentsMargins(10, 10, 10, 10);
    box->addWidget(titleLabel);
    box->addWidget(bar1);
    box->addWidget(bar2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    adjustSize();
}

void DualBarProgressBar::setProgressBarTitle1(const QString& prefix)
{
    onUiThread(this, [this, prefix] { prefix1 = prefix; });
}

void DualBarProgressBar::setProgressBarTitl2(const QString& prefix)
{
    onUiThread(this, [this, prefix] { prefix2 = prefix; });
}

void DualBarProgressBar::setProgress(QProgressBar* bar, const QString& prefix, int value, int maximum, bool title)
{
    if (maximum > 0) {
        bar->setRange(0, maximum);
        bar->setValue(value);
        QString caption = ProgressCaption::caption(value, maximum);
        if (!prefix.isEmpty())
            caption = prefix + QLatin1Char(' ') + caption;
        bar->setFormat(caption);
        if (title)
            setWindowTitle(caption);
    } else {
        bar->setRange(0, 0);
        bar->setFormat(QString());
    }
}

void DualBarProgressBar::setProgress1(int value, int maximum)
{
    onUiThread(this, [this, value, maximum] { setProgress(bar1, prefix1, value, maximum, true); });
}

void DualBarProgressBar::setProgress2(int value, int maximum)
{
    onUiThread(this, [this, value, maximum] { setProgress(bar2, prefix2, value, maximum, false); });
}

void DualBarProgressBar::setIndeterminate(QProgressBar* bar, bool indeterminate)
{
    if (indeterminate)
        bar->setRange(0, 0);
    else if (bar->maximum() == 0)
        bar->setRange(0, 100);
}

void DualBarProgressBar::setIndeterminateBoth(bool indeterminate)
{
    onUiThread(this, [this, indeterminate] {
        setIndeterminate(bar1, indeterminate);
        setIndeterminate(bar2, indeterminate);
    });
}

void DualBarProgressBar::setIndeterminate1(bool indeterminate)
{
    onUiThread(this, [this, indeterminate] { setIndeterminate(bar1, indeterminate); });
}

void DualBarProgressBar::setIndeterminate2(bool indeterminate)
{
    onUiThread(this, [this, indeterminate] { setIndeterminate(bar2, indeterminate); });
}

void DualBarProgressBar::showCentred()
{
    adjustSize();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
    show();
    raise();
}

void DualBarProgressBar::closeLater()
{
    onUiThread(this, [this] { close(); });
}

} // namespace zentrova
