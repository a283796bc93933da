#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "app/ZentrovaMain.h"
#include "ui/AboutDialog.h"
#include "ui/DelayDialog.h"
#include "ui/DualBarProgressBar.h"
#include "ui/FileIndexProgressBar.h"
#include "ui/MenuScroller.h"
#include "ui/ZentrovaFrame.h"
#include "util/AppLog.h"
#include "util/AppPaths.h"
#include "util/DeleteOnExit.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

using namespace zentrova;

namespace {
bool waitUntil(const std::function<bool()>& condition, int ms = 10000)
{
    for (int waited = 0; waited < ms; waited += 10) {
        if (condition())
            return true;
        QTest::qWait(10);
    }
    return condition();
}
} // namespace

TEST(DelayDialog, ClosesItselfAfterItsDelay)
{
    QPointer<DelayDialog> dialog = new DelayDialog(nullptr, "Files exported", 300);
    dialog->showAndStart();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->message(), "Files exported");
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(waitUntil([&] { return dialog.isNull(); })) << "closed and deleted without any user action";
}

TEST(ProgressWindows, CaptionsFromAnyThread)
{
    QLocale::setDefault(QLocale(QLocale::English));
    FileIndexProgressBar single;
    single.setProgress(3, 12);
    EXPECT_EQ(single.getProgressBar()->text(), "25% 3 of 12");
    EXPECT_EQ(single.windowTitle(), "25% 3 of 12");
    single.setProgress(0, 0);
    EXPECT_EQ(single.getProgressBar()->maximum(), 0);
    EXPECT_EQ(single.getProgressBar()->format(), "Loading please wait");
    EXPECT_EQ(single.size(), QSize(400, 25));

    DualBarProgressBar dual("Exporting");
    dual.setProgressBarTitle1("Files");
    // Workers report through the bars; the change reaches the widgets on the user-interface thread.
    QThread* worker = QThread::create([&] {
        dual.setProgress1(1, 4);
        dual.setProgress2(5, 10);
    });
    worker->start();
    ASSERT_TRUE(worker->wait(10000));
    delete worker;
    ASSERT_TRUE(waitUntil([&] { return dual.getProgressBar2()->value() == 5; }));
    EXPECT_EQ(dual.getProgressBar1()->text(), "Files 25% 1 of 4");
    EXPECT_EQ(dual.windowTitle(), "Files 25% 1 of 4");
    EXPECT_EQ(dual.getProgressBar2()->text(), "50% 5 of 10");
    dual.setProgress2(0, -1);
    EXPECT_EQ(dual.getProgressBar2()->maximum(), 0);
    EXPECT_EQ(dual.getProgressBar2()->format(), "");
    EXPECT_EQ(dual.windowTitle(), "Files 25% 1 of 4") << "the second bar leaves the title alone";
}

TEST(MenuScroller, WindowArithmetic)
{
    const MenuScrollWindow w{15, 2, 1};
    EXPECT_FALSE(w.needsScrolling(18));
    EXPECT_TRUE(w.needsScrolling(19));
    EXPECT_EQ(w.clampFirst(0, 40), 2);
    EXPECT_EQ(w.clampFirst(100, 40), 24); // 40 - 1 - 15
    EXPECT_EQ(w.keepVisible(2, 30, 40), 16);
    EXPECT_EQ(w.keepVisible(16, 5, 40), 5);
    EXPECT_EQ(w.keepVisible(5, -1, 40), 5);
    EXPECT_FALSE(w.upEnabled(2));
    EXPECT_TRUE(w.upEnabled(3));
    EXPECT_TRUE(w.downEnabled(23, 40));
    EXPECT_FALSE(w.downEnabled(24, 40));
}

TEST(MenuScroller, LongMenuShowsFifteenBetweenArrowsAndIsRestored)
{
    QMenu menu;
    QList<QAction*> tags;
    for (int i = 0; i < 40; ++i)
        tags.append(menu.addAction(QStringLiteral("Tag %1").arg(i)));
    MenuScroller* scroller = MenuScroller::setScrollerFor(&menu);
    ASSERT_NE(scroller, nullptr);
    emit menu.aboutToShow();
    QList<QAction*> shown = menu.actions();
    ASSERT_EQ(shown.size(), 17);
    EXPECT_EQ(shown.first(), scroller->upArrow());
    EXPECT_EQ(shown.last(), scroller->downArrow());
    EXPECT_EQ(shown.mid(1, 15), tags.mid(0, 15));
    EXPECT_FALSE(scroller->upArrow()->isEnabled());
    EXPECT_TRUE(scroller->downArrow()->isEnabled());
    scroller->scrollBy(100);
    EXPECT_EQ(menu.actions().mid(1, 15), tags.mid(25, 15));
    EXPECT_TRUE(scroller->upArrow()->isEnabled());
    EXPECT_FALSE(scroller->downArrow()->isEnabled());
    emit menu.aboutToHide();
    EXPECT_EQ(menu.actions(), tags);

    scroller->keepVisible(tags.at(39));
    emit menu.aboutToShow();
    EXPECT_EQ(menu.actions().at(15), tags.at(39));
    emit menu.aboutToHide();
}

TEST(MenuScroller, ShortMenuHasNoArrowsAndBadArgumentsAreNamed)
{
    QMenu menu;
    for (int i = 0; i < 15; ++i)
        menu.addAction(QStringLiteral("Tag %1").arg(i));
    const QList<QAction*> before = menu.actions();
    MenuScroller* scroller = MenuScroller::setScrollerFor(&menu);
    emit menu.aboutToShow();
    EXPECT_EQ(menu.actions(), before);
    emit menu.aboutToHide();

    QString error;
    EXPECT_EQ(MenuScroller::setScrollerFor(&menu, 0, 150, 0, 0, &error), nullptr);
    EXPECT_EQ(error, "scrollCount and interval must be greater than 0");
    EXPECT_EQ(MenuScroller::setScrollerFor(&menu, 15, 150, -1, 0, &error), nullptr);
    EXPECT_EQ(error, "topFixedCount and bottomFixedCount cannot be negative");
    EXPECT_FALSE(scroller->setInterval(0, &error));
    EXPECT_EQ(error, "interval must be greater than 0");
    EXPECT_FALSE(scroller->setScrollCount(-3, &error));
    EXPECT_EQ(error, "scrollCount must be greater than 0");
}

TEST(AboutDialog, TabsRuntimeTextAndLiveLog)
{
    AboutDialog::setStartupFacts({}, std::nullopt);
    AboutDialog about(nullptr, "Maker", {"One credit"}, "2026", "Zentrova Image Tool", "v1.3.4", QImage());
    EXPECT_EQ(about.windowTitle(), "About Zentrova Image Tool by Maker");
    QStringList titles;
    for (int i = 0; i < about.tabs()->count(); ++i)
        titles << about.tabs()->tabText(i);
    EXPECT_EQ(titles, (QStringList{"About Program", "Java Runtime Info", "Log Messages", "License"}));
    EXPECT_TRUE(about.runtimeText().endsWith("    No arguments supplied\n"));
    EXPECT_TRUE(about.licenseText().startsWith("                    GNU GENERAL PUBLIC LICENSE"));
    AboutDialog::logMessage("appears while open");
    EXPECT_TRUE(waitUntil([&] { return about.logText().contains("appears while open"); }));

    AboutDialog withCredits(nullptr, "M", {"a", "b"}, "c", "P", "v", QImage());
    EXPECT_EQ(withCredits.tabs()->tabText(withCredits.tabs()->count() - 1), "Credits");
}

TEST(ZentrovaFrame, PlacementRule)
{
    struct Case {
        QRect screen, expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {96, 10, 1728, 972}},
        {{0, 0, 1366, 768}, {68, 7, 1229, 691}}, // 1229.4 and 691.2 round to nearest
        {{0, 0, 1025, 775}, {51, 7, 923, 698}},  // 922.5 and 697.5 round up
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZentrovaFrame::placement(c.screen), c.expected) << c.screen.width();
}

TEST(ZentrovaFrame, BuildsTitledWithHelpMenuAndStoresLogging)
{
    zentrova::test::TempHome home;
    ASSERT_TRUE(AppPaths::setUp(nullptr));
    home.write("tolvex/Zentrova.props",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><properties><entry key=\"logging\">TRUE</entry></properties>");
    zentrova::test::ScriptedPrompter prompter;
    ZentrovaFrame frame(std::nullopt, &prompter, 0);
    EXPECT_EQ(frame.windowTitle(), "Zentrova v1.3.4");
    EXPECT_FALSE(frame.windowIcon().isNull());
    QAction* logging = frame.findMenuItem("Help", "Logging On");
    ASSERT_NE(logging, nullptr);
    EXPECT_TRUE(logging->isChecked());
    logging->trigger();
    MainSettings stored;
    stored.loadProps();
    EXPECT_EQ(stored.value("logging"), "false");

    QAction* tips = frame.findMenuItem("Help", "Show Tool Tips");
    ASSERT_NE(tips, nullptr);
    EXPECT_TRUE(tips->isChecked());
    tips->trigger();
    EXPECT_FALSE(ZentrovaFrame::toolTipsEnabled());
    tips->trigger();
    EXPECT_TRUE(ZentrovaFrame::toolTipsEnabled());

    ASSERT_NE(frame.findMenuItem("Help", "About"), nullptr);
    frame.jmiAbout_actionPerformed();
    bool found = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<AboutDialog*>(w)) {
            found = about->isVisible();
            about->close();
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(prompter.transcript().size(), 0);
}

TEST(ZentrovaMain, XResourceStepWithAndWithoutTheTool)
{
    const QString log = ZentrovaMain::initLinux(QStringLiteral("true"));
    ASSERT_FALSE(log.isEmpty());
    const QRegularExpression form("^Creating file: (/.*/tolvex\\d+tmp)\nWriting: \"\\*\\.multiClickTime: 500\" to file\n"
                                  "Running command: \"true -merge (.*)\"\nInitialization for Linux complete\\.\\.\\.$");
    const auto match = form.match(log);
    ASSERT_TRUE(match.hasMatch()) << log.toStdString();
    EXPECT_EQ(match.captured(1), match.captured(2));
    EXPECT_EQ(zentrova::test::readFile(match.captured(1)), "*.multiClickTime: 500");
    EXPECT_TRUE(DeleteOnExit::contains(match.captured(1)));

    const QString before = AppLog::text();
    EXPECT_TRUE(ZentrovaMain::initLinux(QStringLiteral("no-such-xrdb-tool")).isEmpty());
    const QString added = AppLog::text().mid(before.size());
    EXPECT_TRUE(added.contains("Cannot run program \"no-such-xrdb-tool\"")) << added.toStdString();
    EXPECT_FALSE(added.contains("Creating file"));
}
