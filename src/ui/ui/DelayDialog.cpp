#include "ui/DelayDialog.h"

#include "thread/InterruptibleSleep.h"
#include "thread/WorkerThread.h"
#include "ui/Resources.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

DelayDialog::DelayDialog(QWidget* owner, const QString& message, int delay)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      delayMs(delay), sleeper(std::make_shared<InterruptibleSleep>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("DelayDialog"));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("delayPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setStyleSheet(QStringLiteral("#delayPanel { background: #add8e6; }"));
    text = new QLabel(message, panel);
    text->setObjectName(QStringLiteral("delayText"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setStyleSheet(QStringLiteral("QLabel { color: #00008b; background: #e6e6fa; font-weight: bold; "
                                       "font-size: 14pt; padding: 10px; }"));
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->addWidget(text);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    setWindowIcon(QPixmap::fromImage(Resources::iconImage()));
    adjustSize();
    setFixedSize(sizeHint());
}

DelayDialog::~DelayDialog()
{
    sleeper->setDone();
}

QString DelayDialog::message() const
{
    return text->text();
}

void DelayDialog::showAndStart()
{
    const QRect area = parentWidget() && parentWidget()->isVisible()
                           ? parentWidget()->frameGeometry()
                           : QGuiApplication::primaryScreen()->geometry();
    move(area.center() - rect().center());
    show();
    raise();
    activateWindow();
    QPointer<DelayDialog> self(this);
    auto sleep = sleeper;
    const int ms = delayMs;
    WorkerThread::startDetached(QStringLiteral("DelayDialog"), [self, sleep, ms] {
        if (!sleep->sleepFor(std::chrono::milliseconds(ms)))
            return;
        QMetaObject::invokeMethod(
            qApp,
            [self] {
                if (self)
                    self->close();
            },
            Qt::QueuedConnection);
    });
}

} // namespace zentrova
