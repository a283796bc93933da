#include "ui/ZentrovaFrame.h"

#include "app/ZentrovaMain.h"
#include "ui/AboutDialog.h"
#include "ui/Resources.h"
#include "ui/SplashDialog.h"
#include "util/AppPaths.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <atomic>
#include <cmath>

namespace zentrova {

namespace {
std::atomic<bool> tipsOn{true};

// Swallows tool-tip events of every widget while tool tips are switched off.
class ToolTipFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && !tipsOn.load())
            return true;
        return QObject::eventFilter(watched, event);
    }
};

void waitWithEvents(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

void ZentrovaFrame::setToolTipsEnabled(bool enabled)
{
    static ToolTipFilter* filter = [] {
        auto* f = new ToolTipFilter(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
    tipsOn.store(enabled);
}

bool ZentrovaFrame::toolTipsEnabled()
{
    return tipsOn.load();
}

QRect ZentrovaFrame::placement(const QRect& screen)
{
    const int w = static_cast<int>(std::lround(screen.width() * 0.9));
    const int h = static_cast<int>(std::lround(screen.height() * 0.9));
    return QRect(screen.x() + (screen.width() - w) / 2, screen.y() + (screen.height() - h) / 10, w, h);
}

ZentrovaFrame::ZentrovaFrame(std::optional<QString> startDir, Prompter* p, int splash)
    : dir(std::move(startDir)), prompter(p), splashMs(splash)
{
    setObjectName(QStringLiteral("ZentrovaFrame"));
    props.loadProps();
    setWindowTitle(TITLE);
    buildMenus();
    // Escape ends the program at once, whatever has the focus; the next start empties the temporary folder.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [] { ZentrovaMain::exitNow(0); });
    const QString logging = props.valueOr(MainSettings::LOGGING, QString());
    jckbmiLoggingOn->setChecked(logging.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
    const QImage& icon = Resources::iconImage();
    if (!icon.isNull())
        setWindowIcon(QPixmap::fromImage(icon));
    Resources::logoImage();
    setGeometry(placement(QGuiApplication::primaryScreen()->geometry()));
    showSplash();
}

ZentrovaFrame::~ZentrovaFrame()
{
    AppPaths::cleanTmpDir();
}

void ZentrovaFrame::showSplash()
{
    SplashDialog splash(QStringLiteral("Zentrova"), QStringLiteral("Copyright \u00a9 ") + COPYRIGHT + QLatin1Char(' ') + MAKER,
                        QStringLiteral("Zentrova_logo_400x400.png"));
    splash.showCentred();
    waitWithEvents(splashMs);
    splash.setLogo(QStringLiteral("tolvexlogo.png"));
    waitWithEvents(splashMs);
    splash.close();
}

void ZentrovaFrame::buildMenus()
{
    jmHelp = menuBar()->addMenu(QStringLiteral("Help"));
    // The hot-key tables arrive with the slide show and the full-screen viewer.
    jmHelp->addAction(QStringLiteral("Full Screen Hot Keys"))->setEnabled(false);
    jmHelp->addAction(QStringLiteral("Slide Show Hot Keys"))->setEnabled(false);
    jmHelp->addSeparator();
    jckbmiShowToolTips = jmHelp->addAction(QStringLiteral("Show Tool Tips"));
    jckbmiShowToolTips->setCheckable(true);
    jckbmiShowToolTips->setChecked(true);
    connect(jckbmiShowToolTips, &QAction::toggled, this, [](bool on) { setToolTipsEnabled(on); });
    jckbmiLoggingOn = jmHelp->addAction(QStringLiteral("Logging On"));
    jckbmiLoggingOn->setCheckable(true);
    connect(jckbmiLoggingOn, &QAction::triggered, this, [this](bool on) {
        props.setValue(MainSettings::LOGGING, on ? QStringLiteral("true") : QStringLiteral("false"));
    });
    jmHelp->addSeparator();
    jmiAbout = jmHelp->addAction(QStringLiteral("About"));
    connect(jmiAbout, &QAction::triggered, this, &ZentrovaFrame::jmiAbout_actionPerformed);
}

QAction* ZentrovaFrame::findMenuItem(const QString& menu, const QString& item) const
{
    for (QAction* top : menuBar()->actions()) {
        if (top->text() != menu || !top->menu())
            continue;
        for (QAction* a : top->menu()->actions())
            if (a->text() == item)
                return a;
    }
    return nullptr;
}

void ZentrovaFrame::jmiAbout_actionPerformed()
{
    auto* about = new AboutDialog(this, MAKER, {CREDIT}, COPYRIGHT, PROGRAM_NAME, VERSION, Resources::logoImage());
    about->showCentred();
}

void ZentrovaFrame::exit()
{
    if (exiting)
        return;
    exiting = true;
    AppPaths::cleanTmpDir();
    close();
    QCoreApplication::exit(0);
}

void ZentrovaFrame::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!exiting)
        exit();
}

} // namespace zentrova
