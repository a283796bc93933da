#include "ui/SplashDialog.h"

#include "ui/Resources.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

SplashDialog::SplashDialog(const QString& programName, const QString& copyright, const QString& logoResource)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashDialog"));
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("splashFrame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(3);
    frame->setStyleSheet(QStringLiteral("#splashFrame { background: white; }"));
    logo = new QLabel(frame);
    logo->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(programName, frame);
    name->setAlignment(Qt::AlignCenter);
    name->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 18pt;"));
    auto* copy = new QLabel(copyright, frame);
    copy->setAlignment(Qt::AlignCenter);
    auto* rights = new QLabel(QStringLiteral("All rights reserved."), frame);
    rights->setAlignment(Qt::AlignCenter);
    auto* box = new QVBoxLayout(frame);
    box->setContentsMargins(12, 12, 12, 12);
    box->addWidget(logo);
    box->addWidget(name);
    box->addStretch();
    box->addWidget(copy);
    box->addWidget(rights);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    setLogo(logoResource);
    adjustSize();
    setFixedSize(size());
}

void SplashDialog::setLogo(const QString& logoResource)
{
    logoName = logoResource;
    logo->setPixmap(QPixmap::fromImage(Resources::loadImage(logoResource)));
}

void SplashDialog::showCentred()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
    show();
    raise();
    activateWindow();
}

} // namespace zentrova
