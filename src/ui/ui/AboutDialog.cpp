#include "ui/AboutDialog.h"

#include "ui/Resources.h"
#include "util/AppLog.h"
#include "util/RuntimeInfo.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <mutex>

namespace zentrova {

namespace {
std::mutex factsMutex;
QStringList factArgs;
std::optional<QString> factStartDir;

QPlainTextEdit* makeText(QWidget* parent, const QString& text, int points)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setReadOnly(true);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (points > 0)
        font.setPointSize(points);
    edit->setFont(font);
    edit->setPlainText(text);
    return edit;
}

QLabel* boldLabel(const QString& text, int points, QWidget* parent, Qt::Alignment align = Qt::AlignCenter)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(points);
    label->setFont(font);
    label->setAlignment(align);
    return label;
}
} // namespace

void AboutDialog::logMessage(const QString& message)
{
    AppLog::logMessage(message);
}

void AboutDialog::setStartupFacts(const QStringList& args, const std::optional<QString>& startDirectory)
{
    std::lock_guard lock(factsMutex);
    factArgs = args;
    factStartDir = startDirectory;
}

QStringList AboutDialog::startupArguments()
{
    std::lock_guard lock(factsMutex);
    return factArgs;
}

std::optional<QString> AboutDialog::startDirectory()
{
    std::lock_guard lock(factsMutex);
    return factStartDir;
}

AboutDialog::AboutDialog(QWidget* owner, const QString& maker, const QStringList& credits, const QString& copyright,
                         const QString& programName, const QString& version, const QImage& logo)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("About ") + programName + QStringLiteral(" by ") + maker);
    setWindowIcon(QPixmap::fromImage(Resources::iconImage()));

    tabWidget = new QTabWidget(this);
    tabWidget->setStyleSheet(QStringLiteral("QTabBar::tab { font-weight: bold; font-size: 11pt; background: #d3d3d3; "
                                            "padding: 4px 10px; } QTabBar::tab:selected { background: #ececec; }"));
    tabWidget->addTab(makeAboutTab(maker, credits, copyright, programName, version, logo),
                      QStringLiteral("About Program"));

    runtime = makeText(tabWidget, RuntimeInfo::text(startupArguments(), startDirectory()), 13);
    tabWidget->addTab(runtime, QStringLiteral("Java Runtime Info"));

    log = makeText(tabWidget, AppLog::text(), 0);
    tabWidget->addTab(log, QStringLiteral("Log Messages"));
    QPointer<QPlainTextEdit> logView(log);
    logObserver = AppLog::addObserver([logView](const QString& entry) {
        QMetaObject::invokeMethod(
            qApp,
            [logView, entry] {
                if (!logView)
                    return;
                logView->moveCursor(QTextCursor::End);
                logView->insertPlainText(entry);
            },
            Qt::QueuedConnection);
    });

    Resources::init();
    QString licence;
    QFile file(QStringLiteral(":/text/license.txt"));
    if (file.open(QIODevice::ReadOnly))
        licence = QString::fromUtf8(file.readAll());
    license = makeText(tabWidget, licence, 0);
    tabWidget->addTab(license, QStringLiteral("License"));

    if (credits.size() > 1) {
        auto* page = new QWidget(tabWidget);
        auto* box = new QVBoxLayout(page);
        box->setSpacing(6);
        for (const QString& line : credits)
            box->addWidget(boldLabel(line, 12, page, Qt::AlignLeft | Qt::AlignVCenter));
        box->addStretch();
        tabWidget->addTab(page, QStringLiteral("Credits"));
    }

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(tabWidget);
    resize(640, 560);
}

AboutDialog::~AboutDialog()
{
    AppLog::removeObserver(logObserver);
}

QWidget* AboutDialog::makeAboutTab(const QString& maker, const QStringList& credits, const QString& copyright,
                                   const QString& programName, const QString& version, const QImage& logo)
{
    auto* page = new QWidget(tabWidget);
    auto* box = new QVBoxLayout(page);
    box->addWidget(boldLabel(programName, 16, page));
    auto* versionLabel = new QLabel(QStringLiteral("Version ") + version, page);
    versionLabel->setAlignment(Qt::AlignCenter);
    box->addWidget(versionLabel);
    if (!credits.isEmpty())
        box->addWidget(boldLabel(credits.first(), 12, page));

    auto* frame = new QFrame(page);
    frame->setObjectName(QStringLiteral("logoFrame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setStyleSheet(QStringLiteral("#logoFrame { background: white; }"));
    auto* frameBox = new QVBoxLayout(frame);
    auto* logoLabel = new QLabel(frame);
    logoLabel->setAlignment(Qt::AlignCenter);
    logoLabel->setPixmap(QPixmap::fromImage(logo));
    frameBox->addWidget(logoLabel, 1);
    auto* notice = new QLabel(QStringLiteral("Copyright \u00a9 ") + maker + QLatin1Char(' ') + copyright, frame);
    notice->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    frameBox->addWidget(notice);
    box->addWidget(frame, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), page);
    ok->setObjectName(QStringLiteral("jbOK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    box->addWidget(ok, 0, Qt::AlignCenter);
    return page;
}

void AboutDialog::showCentred()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
    show();
    license->verticalScrollBar()->setValue(0);
    raise();
}

QString AboutDialog::runtimeText() const
{
    return runtime->toPlainText();
}

QString AboutDialog::logText() const
{
    return log->toPlainText();
}

QString AboutDialog::licenseText() const
{
    return license->toPlainText();
}

} // namespace zentrova
