#include "ImageFixtures.h"
#include "PaintWhileWorking.h"
#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "models/FileTableModel.h"
#include "models/FileTreeModel.h"
#include "tree/FileTree.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zentrova;
using namespace zentrova::test;

namespace {

class DateTreeView : public TempHomeTest {
protected:
    void SetUp() override
    {
        Prompter::setCurrent(&prompter);
        files = {dated("a.png", {2010, 1, 4}), dated("b.png", {2010, 1, 4}), dated("c.png", {2010, 2, 1}), dated("d.png", {2011, 3, 2})};
        tree.setTree(&view);
        view.setTreeModel(&tree);
        table.setFiles(files);
        view.resize(400, 500);
        view.show();
        QApplication::setActiveWindow(&view);
        view.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    }
    void TearDown() override { Prompter::setCurrent(nullptr); }
    QString dated(const QString& name, QDate date)
    {
        const QString path = writeImage(home.path() + "/" + name, gradientImage({4, 4}));
        QFile f(path);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime(date, QTime(12, 0)), QFileDevice::FileModificationTime);
        return path;
    }
    // The labels of the rows the view shows, indented by depth.
    QStringList visibleRows()
    {
        QStringList out;
        for (QModelIndex i = view.model()->index(0, 0); i.isValid(); i = view.indexBelow(i)) {
            int depth = 0;
            for (QModelIndex p = i.parent(); p.isValid(); p = p.parent())
                ++depth;
            out << QString(depth * 2, ' ') + i.data().toString();
        }
        return out;
    }
    void waitForFiles(const std::function<bool()>& done)
    {
        for (int i = 0; i < 200 && !done(); ++i)
            QTest::qWait(10);
    }

    ScriptedPrompter prompter;
    QStringList files;
    FileTableModel table;
    FileTreeModel tree{&table};
    FileTree view;
};

} // namespace

TEST_F(DateTreeView, FullyOpenAfterARebuildAndTheFourButtons)
{
    EXPECT_EQ(visibleRows(), (QStringList{"2010", "  January", "    Monday 04", "      a.png", "      b.png", "  Febuary", "    Monday 01",
                                          "      c.png", "2011", "  March", "    Wednesday 02", "      d.png"}));
    view.showYears();
    EXPECT_EQ(visibleRows(), (QStringList{"2010", "2011"}));
    view.showMonths();
    EXPECT_EQ(visibleRows(), (QStringList{"2010", "  January", "  Febuary", "2011", "  March"}));
    view.showDays();
    EXPECT_EQ(visibleRows(), (QStringList{"2010", "  January", "    Monday 04", "  Febuary", "    Monday 01", "2011", "  March",
                                          "    Wednesday 02"}))
        << "months open to their days, no files";
    view.showAllFiles();
    EXPECT_EQ(visibleRows().size(), 12);
    EXPECT_FALSE(view.requestFocusInWindow());
    EXPECT_EQ(view.getNextFile(files[1]), files[2]);
}

TEST_F(DateTreeView, OnlyFileLeavesCountAsSelectedFiles)
{
    view.setSelectedFile(files[2]);
    EXPECT_EQ(view.getSelectedFiles(), QStringList{files[2]});
    EXPECT_EQ(visibleRows(), (QStringList{"2010", "  January", "  Febuary", "    Monday 01", "      c.png", "2011"}));
    view.selectionModel()->select(view.model()->index(0, 0), QItemSelectionModel::ClearAndSelect); // a year
    EXPECT_TRUE(view.getSelectedFiles().isEmpty());
    view.setSelectedFiles({files[3], files[0], home.path() + "/not-loaded.png"});
    waitForFiles([&] { return view.getSelectedFiles().size() == 2; });
    const QStringList selected = view.getSelectedFiles();
    EXPECT_EQ(QSet<QString>(selected.begin(), selected.end()), (QSet<QString>{files[0], files[3]}));
    view.setSelectedFile(home.path() + "/not-loaded.png");
    EXPECT_TRUE(view.getSelectedFiles().isEmpty());
}

TEST_F(DateTreeView, DeleteAsksShiftDeleteRemovesFromCatalogueAndDisk)
{
    view.setSelectedFile(files[0]);
    PromptAnswer cancel, ok;
    cancel.choice = Prompter::CANCEL;
    ok.choice = Prompter::OK;
    prompter.expect(Prompt::Kind::Confirm, "Delete Files Confirmation", cancel, QString("You are about to delete files.\n\nAre you sure?"));
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(table.getRowCount(), 4);

    prompter.expect(Prompt::Kind::Confirm, "Delete Files Confirmation", ok);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(table.getRowCount(), 3);
    waitForFiles([&] { return !QFileInfo::exists(files[0]); });
    EXPECT_FALSE(QFileInfo::exists(files[0]));

    view.setSelectedFile(files[3]);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(table.getFileList(), (QStringList{files[1], files[2]}));
    waitForFiles([&] { return !QFileInfo::exists(files[3]); });
    EXPECT_FALSE(QFileInfo::exists(files[3]));
    EXPECT_EQ(prompter.pending(), 0);
    EXPECT_EQ(visibleRows().size(), 7) << "rebuilt and fully open";
}

// The loader changes the catalogue on its thread; the tree rebuilds there while the view paints.
TEST(DateTreeThreads, RebuildsFromAWorkerWhileTheViewPaints)
{
    TempHome home;
    QStringList files;
    for (int i = 0; i < 120; ++i) {
        const QString path = writeImage(home.path() + QString("/f%1.png").arg(i, 3, 10, QLatin1Char('0')), gradientImage({2, 2}));
        QFile f(path);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime(QDate(2000 + i % 7, 1 + i % 12, 1 + i % 28), QTime(10, 0)), QFileDevice::FileModificationTime);
        files << path;
    }
    FileTableModel table;
    FileTreeModel tree(&table);
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::Warning);
    FileTree view;
    tree.setTree(&view);
    view.setTreeModel(&tree);
    view.resize(300, 600);
    view.show();
    for (int round = 0; round < 20; ++round) {
        paintWhileWorking(view, [&] {
            for (int i = 0; i < 6; ++i) {
                table.setFiles(files.mid((round + i) % 40, 40 + i * 10));
                table.sort(i % 5, i % 2);
            }
        }, [&] { (void)view.getSelectedFiles(); });
        ASSERT_EQ(tree.root().getFiles(), table.getFileList()) << "round " << round;
    }
}
