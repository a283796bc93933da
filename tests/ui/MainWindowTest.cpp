#include "ImageFixtures.h"
#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "models/FileTableModel.h"
#include "table/FileTable.h"
#include "tree/FileTree.h"
#include "thread/SlideTimer.h"
#include "ui/LoadProgressWindow.h"
#include "ui/ReloadThread.h"
#include "ui/SlidePane.h"
#include "ui/ZentrovaFrame.h"
#include "util/AppPaths.h"
#include "util/StartDir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QSplitter>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

using namespace zentrova;
using namespace zentrova::test;

namespace {

struct ShowCounter : ChangeListener {
    std::atomic<int> shown{0};
    void stateChanged(QObject*) override { ++shown; }
};

class MainWindow : public TempHomeTest {
protected:
    void SetUp() override
    {
        AppPaths::init();
        AppPaths::ensureAppDir();
        StartDir::setStartUpDir(std::nullopt);
        Prompter::setCurrent(&prompter);
        frame = std::make_unique<ZentrovaFrame>(std::nullopt, &prompter, 0);
    }
    void TearDown() override
    {
        frame.reset();
        Prompter::setCurrent(nullptr);
    }
    // A folder with pictures, a GIF, an "errored" folder and a nested one.
    QString library()
    {
        const QString root = home.path() + "/lib";
        writeImage(root + "/b.jpg", gradientImage({40, 30}));
        writeImage(root + "/a.png", gradientImage({20, 10}));
        writeImage(root + "/nested/PHOTO.JPEG", gradientImage({16, 12}));
        home.write("lib/photo.gif", "GIF89a");
        writeImage(root + "/errored/skipped.jpg", gradientImage({8, 8}));
        return root;
    }
    void settle(int ms = 400)
    {
        frame->waitForLoads();
        QTest::qWait(ms);
    }
    QStringList names(const QStringList& paths)
    {
        QStringList out;
        for (const QString& p : paths)
            out << QFileInfo(p).fileName();
        return out;
    }

    ScriptedPrompter prompter;
    std::unique_ptr<ZentrovaFrame> frame;
};

} // namespace

TEST_F(MainWindow, MenusHoldEveryItemAndTheCommandsToComeAreDisabled)
{
    MainMenus& m = frame->menus();
    EXPECT_EQ(m.disabledItems(), (QStringList{
                                     "File > Import Zipfile", "File > Get Tags From Loaded Files", "File > Reorganize Archive",
                                     "Actions > Print > Print Batch", "Actions > Print > View Batch", "Actions > Print > Clear Batch",
                                     "Actions > Print > Print Selected Files", "Actions > Export > Export Batch",
                                     "Actions > Export > View Batch", "Actions > Export > Clear Batch",
                                     "Actions > Export > Export Selected Files", "Actions > Scaling > Rescale Batch",
                                     "Actions > Scaling > View Batch", "Actions > Scaling > Clear Batch",
                                     "Actions > Scaling > Scale Selected Files", "Actions > Print Preview Selected",
                                     "Actions > Rename Selected Files", "Slide Show > Show Selected", "Slide Show > Show All",
                                     "Slide Show > Show All (auto reload)", "Help > Full Screen Hot Keys", "Help > Slide Show Hot Keys",
                                     "popup > Add album tag to selected files > New album tag", "popup > Mark for batch printing",
                                     "popup > Mark for batch exporting", "popup > Mark for batch rescaling", "popup > Print selected files",
                                     "popup > Export selected files", "popup > Rescale selected files", "popup > Rename selected files",
                                 }));
    QStringList checked;
    for (QAction* a : m.slideDelays + m.reloadIntervals)
        if (a->isChecked())
            checked << a->text();
    EXPECT_EQ(checked, (QStringList{"3 seconds", "60 seconds"}));
    QStringList bar;
    for (QAction* a : frame->menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"File", "Actions", "Slide Show", "Table Filters", "Help"}));
    EXPECT_EQ(frame->views().jtpFileViews->tabText(2), "Date View");
    EXPECT_FALSE(frame->views().jtpFileViews->isTabEnabled(0)) << "until the first load";
}

TEST_F(MainWindow, LoadingAFolderFillsTheViewsAndSkipsErroredFolders)
{
    const QString root = library();
    frame->loadDir(root, true);
    settle();
    EXPECT_EQ(names(frame->catalogue().getFileList()), (QStringList{"a.png", "b.jpg", "PHOTO.JPEG"}));
    EXPECT_EQ(frame->views().jtfRowCount->text(), "3");
    EXPECT_TRUE(frame->views().jtpFileViews->isTabEnabled(2));
    EXPECT_EQ(frame->views().fileTable->getSelectedFiles(), QStringList{frame->catalogue().getFileList()[0]});
    EXPECT_EQ(frame->getLastLoad(), QStringList{QFileInfo(root).absoluteFilePath()});

    frame->loadFiles({root + "/photo.gif"}, false); // chosen explicitly, so listed
    settle();
    EXPECT_EQ(names(frame->catalogue().getFileList()), QStringList{"photo.gif"});

    QDir().mkpath(home.path() + "/empty");
    frame->loadDir(home.path() + "/empty", true);
    settle();
    EXPECT_EQ(frame->catalogue().getRowCount(), 0);
    EXPECT_TRUE(frame->views().jtpFileViews->isTabEnabled(0));
}

TEST_F(MainWindow, TheSelectedImageShowsWithItsDateSizeAndData)
{
    frame->loadDir(library(), true);
    settle();
    frame->views().fileTable->setSelectedFile(frame->catalogue().getFileList()[1]); // b.jpg
    QElapsedTimer t;
    t.start();
    while (frame->views().sizeLabel->text() != "40 x 30" && t.elapsed() < 5000)
        QTest::qWait(20);
    EXPECT_EQ(frame->views().sizeLabel->text(), "40 x 30");
    EXPECT_FALSE(frame->views().dateLabel->text().isEmpty());
    EXPECT_TRUE(frame->views().jtaImageData->toPlainText().startsWith("Metadata:\n"));
    EXPECT_TRUE(frame->views().jtaImageData->toPlainText().contains("Width: 40"));

    // Switching to the Date View with nothing selected there clears the panel.
    frame->views().jtpFileViews->setCurrentIndex(2);
    QTest::qWait(50);
    EXPECT_TRUE(frame->views().dateLabel->text().isEmpty());
    EXPECT_TRUE(frame->views().sizeLabel->text().isEmpty());
    EXPECT_TRUE(frame->views().jtaImageData->toPlainText().isEmpty());
}

TEST_F(MainWindow, ARunOfSelectionsShowsOnlyTheLast)
{
    QStringList files;
    for (int i = 0; i < 10; ++i)
        files << writeImage(home.path() + QString("/run/%1.png").arg(i), gradientImage({10 + i, 10}));
    frame->loadDir(home.path() + "/run", true);
    settle();
    ShowCounter counter;
    frame->views().slidePane->addChangeListener(&counter);
    const QStringList shown = frame->catalogue().getFileList();
    for (const QString& f : shown)
        frame->views().fileTable->setSelectedFile(f);
    QTest::qWait(700);
    EXPECT_EQ(frame->views().slidePane->getFile(), shown.last());
    EXPECT_LE(counter.shown.load(), 2) << "ten quick selections, at most the one in progress and the last";
    frame->views().slidePane->removeChangeListener(&counter);
}

TEST_F(MainWindow, LetterBarSelectsTheFirstNameOrNothing)
{
    frame->loadDir(library(), true);
    settle();
    auto letter = [&](char c) { return frame->views().letters[c - 'A']; };
    QTest::mouseClick(letter('P'), Qt::LeftButton);
    EXPECT_EQ(names(frame->views().fileTable->getSelectedFiles()), QStringList{"PHOTO.JPEG"});
    QTest::mouseClick(letter('Q'), Qt::LeftButton);
    EXPECT_EQ(names(frame->views().fileTable->getSelectedFiles()), QStringList{"PHOTO.JPEG"}) << "no Q: the selection stays";
}

TEST_F(MainWindow, ReloadRestoresTheSortAndTheSelection)
{
    frame->loadDir(library(), true);
    settle();
    FileTableModel& model = frame->catalogue();
    model.sort("SIZE", true);
    const QStringList two = {model.getFileList()[0], model.getFileList()[2]};
    frame->views().fileTable->setSelectedFiles(two);
    frame->views().jtpFileViews->setCurrentIndex(0);
    frame->reload();
    settle();
    EXPECT_EQ(model.lastSortCriterion(), 1);
    EXPECT_TRUE(model.lastSortDescending());
    EXPECT_EQ(frame->views().fileTable->getSelectedFiles(), two);
}

TEST_F(MainWindow, FirstShowAsksWhatToLoadWithoutAStartFolder)
{
    const QString root = library();
    prompter.expectChoice(Prompt::Kind::Options, "Load Images Dialog...", 2); // "Ignore and do nothing"
    frame->this_windowOpened();
    EXPECT_EQ(frame->catalogue().getRowCount(), 0);

    PromptAnswer chosen;
    chosen.choice = Prompter::OK;
    chosen.files = {root};
    chosen.folder = home.path();
    prompter.expectChoice(Prompt::Kind::Options, "Load Images Dialog...", 1); // "Just load a directory"
    prompter.expect(Prompt::Kind::Chooser, "Select a directory or image to load", chosen);
    frame->this_windowOpened();
    settle();
    EXPECT_EQ(frame->catalogue().getRowCount(), 3);
    EXPECT_EQ(frame->settings().valueOr(MainSettings::LASTDIR, QString()), home.path());
    EXPECT_EQ(frame->settings().valueOr(MainSettings::LASTFILE, QString()), root);
    EXPECT_EQ(frame->rootdir(), home.path());

    prompter.expectChoice(Prompt::Kind::Options, "Load Images Dialog...", 0); // "Load and set as default"
    prompter.expect(Prompt::Kind::Chooser, "Choose a default directory to load when starting", chosen);
    frame->this_windowOpened();
    settle();
    EXPECT_EQ(StartDir::startUpDir(), root);
    EXPECT_EQ(prompter.pending(), 0);

    // Set, but deleted since: it counts as not set.
    QDir(root).removeRecursively();
    prompter.expectChoice(Prompt::Kind::Options, "Load Images Dialog...", 2);
    frame->this_windowOpened();
    EXPECT_EQ(prompter.pending(), 0);
}

TEST_F(MainWindow, TableFiltersMenuAddsSwitchesRemovesAndPersists)
{
    frame->loadDir(library(), true);
    settle();
    using P = TableFileNameFilter::Position;
    QString preset;
    frame->filterDialog = [&](const QString& text) {
        preset = text;
        return std::optional<TableFileNameFilter>(TableFileNameFilter("jpg", false, P::ENDS_WITH, false));
    };
    frame->jmiAddTableFilter_actionPerformed();
    EXPECT_EQ(preset, "a.png") << "preset from the selected row";
    ASSERT_EQ(frame->filterItems().size(), 1);
    QAction* item = frame->filterItems()[0];
    EXPECT_EQ(item->text(), "Exclude ending with \"jpg\" [ignore case]");
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(item->font().bold());
    EXPECT_EQ(item->font().pointSize(), 14);
    EXPECT_TRUE(frame->anyFilterChecked());
    EXPECT_EQ(names(frame->catalogue().getFileList()), (QStringList{"a.png", "PHOTO.JPEG"}));

    prompter.expect(Prompt::Kind::Message, "Message", {}, QString("Table already has this filter on it"));
    frame->jmiAddTableFilter_actionPerformed();
    EXPECT_EQ(frame->filterItems().size(), 1);
    EXPECT_EQ(prompter.pending(), 0);

    item->setChecked(false);
    EXPECT_EQ(frame->catalogue().getRowCount(), 3);
    EXPECT_FALSE(frame->anyFilterChecked());
    item->setChecked(true);
    EXPECT_EQ(frame->catalogue().getRowCount(), 2);

    frame->reload(); // every load switches the filters off
    settle();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(frame->catalogue().getRowCount(), 3);

    // A restart restores the filter, switched off.
    frame.reset();
    frame = std::make_unique<ZentrovaFrame>(std::nullopt, &prompter, 0);
    ASSERT_EQ(frame->filterItems().size(), 1);
    EXPECT_FALSE(frame->filterItems()[0]->isChecked());
    frame->removeFilters(false);
    EXPECT_TRUE(frame->filterItems().isEmpty());
    QStringList texts;
    for (QAction* a : frame->menus().jmTableFilters->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, (QStringList{"Add Table Filter", "Remove Selected Filters", "Remove Uselected Filters"}));
    frame->jmiAddTableFilter_actionPerformed(); // no rows: nothing
    EXPECT_TRUE(frame->filterItems().isEmpty());
}

TEST_F(MainWindow, RotateCommandsTurnTheSelectionAndReloadSelectingIt)
{
    frame->loadDir(library(), true);
    settle();
    const QString b = frame->catalogue().getFileList()[1];
    frame->views().fileTable->setSelectedFile(b);
    frame->menus().rotate[0]->trigger(); // 90 degrees clockwise
    settle(600);
    EXPECT_EQ(QImageReader(b).size(), QSize(30, 40));
    EXPECT_EQ(frame->views().fileTable->getSelectedFiles(), QStringList{b});
    frame->menus().popupRotate[2]->trigger(); // 180 degrees, from the popup
    settle(600);
    EXPECT_EQ(QImageReader(b).size(), QSize(30, 40));

    frame->views().fileTable->clearSelection();
    prompter.expect(Prompt::Kind::Message, "No Selection Made Dialog...", {}, QString("No selections made in the list"));
    frame->menus().rotate[1]->trigger();
    EXPECT_EQ(prompter.pending(), 0);
}

TEST_F(MainWindow, EscapeAndCtrlRWorkWhereverTheFocusIs)
{
    frame->loadDir(library(), true);
    settle();
    prompter.expectChoice(Prompt::Kind::Options, "Load Images Dialog...", 2); // the first show asks
    frame->show();
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    int exits = 0;
    frame->exitSystem = [&] { ++exits; };
    struct Loads : FileTableModelLoadListener {
        int count = 0;
        void tableLoaded(const TableLoadEvent&) override { ++count; }
    } loads;
    frame->catalogue().addFileTableModelLoadListener(&loads);
    QWidget* places[] = {frame->views().fileTable, frame->views().dateTree, frame->views().slidePane};
    int tab = 0;
    for (QWidget* w : places) {
        frame->views().jtpFileViews->setCurrentIndex(w == frame->views().dateTree ? 2 : tab);
        w->setFocusPolicy(Qt::StrongFocus);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_R, Qt::ControlModifier);
        settle(50);
        QTest::keyClick(w, Qt::Key_Escape);
    }
    EXPECT_EQ(exits, 3);
    EXPECT_EQ(loads.count, 3);
    frame->catalogue().removeFileTableModelLoadListener(&loads);
}

TEST_F(MainWindow, TenSecondReloadsAlsoPickTheOneSecondDelayAndLoadsShowProgress)
{
    frame->menus().reloadIntervals[3]->trigger(); // "5 minutes"
    EXPECT_EQ(frame->autoReloadInterval(), 300000);
    frame->menus().reloadIntervals[0]->trigger(); // "10 seconds"
    EXPECT_EQ(frame->autoReloadInterval(), 10000);
    EXPECT_TRUE(frame->menus().slideDelays[0]->isChecked());
    EXPECT_EQ(frame->menus().slideDelays[0]->text(), "1 second");

    frame->loadDir(library(), true);
    settle();
    EXPECT_EQ(frame->loadProgress()->size(), QSize(400, 20));
    EXPECT_FALSE(frame->loadProgress()->isVisible()) << "hidden once the bar reached its end";
    QDir().mkpath(home.path() + "/empty");
    frame->loadDir(home.path() + "/empty", true);
    settle();
    EXPECT_FALSE(frame->loadProgress()->isVisible()) << "an empty load closes it too";
}

TEST_F(MainWindow, DefaultStartFolderSelectAndRemove)
{
    const QString root = library();
    PromptAnswer chosen;
    chosen.choice = Prompter::OK;
    chosen.files = {root};
    PromptAnswer no;
    no.choice = Prompter::NO;
    prompter.expect(Prompt::Kind::Chooser, "Choose a default directory to load when starting", chosen);
    prompter.expect(Prompt::Kind::Confirm, "Load New Startup Directory?", no, QString("Default Startup directory has been set.\nWould you like to load it now?"));
    frame->menus().jmiSelectStartDir->trigger();
    settle(50);
    EXPECT_EQ(frame->catalogue().getRowCount(), 0) << "No: stored, not loaded";
    EXPECT_EQ(StartDir::loadStartDir(), root);

    prompter.expect(Prompt::Kind::Notice, "", {}, QString("Default startup directory removed"));
    frame->menus().jmiRemoveStartDir->trigger();
    EXPECT_FALSE(QFileInfo::exists(AppPaths::STARTDIR_FILE));
    frame->menus().jmiRemoveStartDir->trigger(); // nothing to remove: nothing happens
    EXPECT_EQ(prompter.pending(), 0);
}

TEST_F(MainWindow, TheReloaderHandsTheShowTheNewestFirstAndReportsPauses)
{
    const QString root = library();
    frame->loadDir(root, true);
    settle();
    // Make the files' ages differ: PHOTO.JPEG newest, a.png oldest.
    const QStringList files = frame->catalogue().getFileList();
    for (int i = 0; i < files.size(); ++i) {
        QFile f(files[i]);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime(QDate(2020, 1, 1 + i), QTime(12, 0)), QFileDevice::FileModificationTime);
    }
    SlidePane pane;
    SlideTimer timer(&pane, {});
    ReloadThread reloader(frame.get(), [&] { return &timer; });
    reloader.setDelay(200);
    frame->setReloader(&reloader);
    reloader.start();
    QElapsedTimer t;
    t.start();
    while (timer.getFiles().size() < 3 && t.elapsed() < 5000)
        QTest::qWait(20);
    EXPECT_EQ(names(timer.getFiles()), (QStringList{"PHOTO.JPEG", "b.jpg", "a.png"}));

    prompter.expect(Prompt::Kind::Notice, "", {}, QString("Reloader is paused"));
    reloader.setPaused(true);
    prompter.expect(Prompt::Kind::Notice, "", {}, QString("Reloader restarting"));
    reloader.setPaused(false);
    EXPECT_EQ(prompter.pending(), 0);

    frame->menus().reloadIntervals[1]->trigger(); // "30 seconds" reaches the running reloader
    EXPECT_EQ(reloader.getDelay(), 30000);
    reloader.setDone(true);
    EXPECT_TRUE(reloader.wait(5000));
    EXPECT_EQ(frame->getReloader(), nullptr);
    frame->waitForLoads();
}

TEST_F(MainWindow, HeaderDoubleClicksSortEachColumnUpThenDownAndTheImageSideKeeps400Pixels)
{
    frame->loadDir(library(), true);
    settle();
    QHeaderView* header = frame->views().fileTable->horizontalHeader();
    auto size = [&](int row) { return QFileInfo(frame->catalogue().getFileList()[row]).size(); };
    emit header->sectionDoubleClicked(FileTableModel::SIZE_COLUMN);
    EXPECT_EQ(frame->catalogue().lastSortCriterion(), 1);
    EXPECT_FALSE(frame->catalogue().lastSortDescending()) << "ascending first";
    EXPECT_LE(size(0), size(2));
    emit header->sectionDoubleClicked(FileTableModel::SIZE_COLUMN);
    EXPECT_TRUE(frame->catalogue().lastSortDescending());
    EXPECT_GE(size(0), size(2));

    frame->resize(700, 500);
    frame->show();
    prompter.expectChoice(Prompt::Kind::Options, "Load Images Dialog...", 2);
    QTest::qWait(50);
    frame->relocateDivider();
    const QList<int> sizes = frame->views().jspMain->sizes();
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_GE(sizes[1], 400 - frame->views().jspMain->handleWidth());
}

TEST_F(MainWindow, FilterItemsAndTheMenuTitleAreColouredByTheirState)
{
    frame->loadDir(library(), true);
    settle();
    frame->filterDialog = [](const QString&) {
        return std::optional<TableFileNameFilter>(TableFileNameFilter("a", true, TableFileNameFilter::Position::CONTAINS, true));
    };
    frame->jmiAddTableFilter_actionPerformed();
    auto countColour = [](const QImage& image, const QRect& area, auto test) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += test(QColor(image.pixel(x, y))) ? 1 : 0;
        return n;
    };
    auto red = [](const QColor& c) { return c.red() > 150 && c.green() < 80 && c.blue() < 80; };
    auto darkBlue = [](const QColor& c) { return c.blue() > 120 && c.red() < 60 && c.green() < 60; };
    QMenuBar* bar = frame->menuBar();
    bar->resize(bar->sizeHint().expandedTo(QSize(600, 0)));
    const QRect title = bar->actionGeometry(frame->menus().jmTableFilters->menuAction());
    EXPECT_GT(countColour(bar->grab().toImage(), title, red), 0) << "red while a filter is on";
    QMenu* menu = frame->menus().jmTableFilters;
    menu->resize(menu->sizeHint());
    const QRect itemArea = menu->actionGeometry(frame->filterItems()[0]);
    EXPECT_GT(countColour(menu->grab().toImage(), itemArea, darkBlue), 0) << "dark blue while checked";

    frame->filterItems()[0]->setChecked(false);
    EXPECT_EQ(countColour(bar->grab().toImage(), title, red), 0) << "black again";
    EXPECT_EQ(countColour(menu->grab().toImage(), itemArea, darkBlue), 0) << "grey when unchecked";
}
