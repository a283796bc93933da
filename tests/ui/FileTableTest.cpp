#include "PaintWhileWorking.h"
#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "models/FileTableModel.h"
#include "renderers/GeneralTableCellRenderer.h"
#include "table/DataSizedTableColumnModel.h"
#include "table/FileTable.h"
#include "table/TableFileNameFilterDialog.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zentrova;
using namespace zentrova::test;

namespace {

PromptAnswer answer(int choice)
{
    PromptAnswer a;
    a.choice = choice;
    return a;
}

class FileTableTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        Prompter::setCurrent(&prompter);
        for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "d.png"})
            files << home.write(n, QByteArray(10, 'x'));
        model.setFiles(files);
        table.setFileTableModel(&model);
        table.resize(500, 300);
        table.show();
        QApplication::setActiveWindow(&table);
        table.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&table));
    }
    void TearDown() override { Prompter::setCurrent(nullptr); }
    void expectDeleteQuestion(int choice)
    {
        prompter.expect(Prompt::Kind::Confirm, "Delete Files Confirmation", answer(choice), QString("You are about to delete files.\n\nAre you sure?"));
    }

    ScriptedPrompter prompter;
    QStringList files;
    FileTableModel model;
    FileTable table;
};

} // namespace

TEST_F(FileTableTest, DeleteAsksShiftDeleteDoesNot)
{
    table.setSelection(1); // not selectRow: that one reads the keyboard modifiers a previous test may have left
    expectDeleteQuestion(Prompter::CANCEL);
    QTest::keyClick(&table, Qt::Key_Delete);
    EXPECT_EQ(model.getRowCount(), 4);
    EXPECT_TRUE(QFileInfo::exists(files[1]));

    expectDeleteQuestion(Prompter::OK);
    QTest::keyClick(&table, Qt::Key_Delete);
    EXPECT_FALSE(QFileInfo::exists(files[1]));
    EXPECT_EQ(model.getFileList(), (QStringList{files[0], files[2], files[3]}));
    EXPECT_EQ(table.getSelectedFile(), files[2]) << "the next row is selected";

    QTest::keyClick(&table, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_FALSE(QFileInfo::exists(files[2]));
    EXPECT_EQ(model.getRowCount(), 2);
    EXPECT_EQ(prompter.pending(), 0);
    EXPECT_EQ(prompter.transcript().size(), 2);
}

TEST_F(FileTableTest, DeletingTheLastRowSelectsTheNewLastAndNothingSelectedDoesNothing)
{
    table.setSelectedFile(files[3]);
    table.deleleSeleted(false);
    EXPECT_EQ(table.getSelectedFile(), files[2]);

    table.clearSelection();
    expectDeleteQuestion(Prompter::OK);
    table.deleleSeleted(true);
    EXPECT_EQ(model.getRowCount(), 3);
    EXPECT_EQ(prompter.pending(), 0);

    // A file that cannot be removed from the disk still leaves the catalogue.
    QFile::remove(files[0]);
    table.setSelectedFiles({files[0], files[1]});
    table.deleleSeleted(false);
    EXPECT_EQ(model.getFileList(), QStringList{files[2]});
}

TEST_F(FileTableTest, SelectionHelpersSkipHiddenEntries)
{
    model.addFilter({"jpg", true, TableFileNameFilter::Position::ENDS_WITH, true});
    table.setSelectedRows({files[3]});
    EXPECT_TRUE(table.getSelectedFiles().isEmpty()) << "d.png is hidden";
    table.setSelectedRows({files[3], files[2], files[0]});
    EXPECT_EQ(table.getSelectedFiles(), (QStringList{files[0], files[2]}));
    EXPECT_TRUE(table.isEnabled());
    EXPECT_EQ(table.getSelection(), 0);
    EXPECT_EQ(table.getIndexOf(files[2]), 2);
    EXPECT_EQ(table.getIndexOf(files[3]), -1);
    EXPECT_EQ(table.getFile(1), files[1]);
    EXPECT_FALSE(table.getFile(3).has_value());
    table.setSelectedFile(files[3]);
    EXPECT_EQ(table.getSelectedFiles(), (QStringList{files[0], files[2]})) << "a hidden file changes nothing";
}

TEST_F(FileTableTest, RefusesAForeignModel)
{
    QStandardItemModel other;
    QString error;
    EXPECT_FALSE(table.setFileTableModel(&other, &error));
    EXPECT_EQ(error, "Table model needs to be and instance of FileTableModel");
    EXPECT_EQ(table.model(), &model);
}

TEST_F(FileTableTest, ColumnsAreSizedToTheirWidestTextAndFixed)
{
    DataSizedTableColumnModel::apply(&table);
    const QFontMetrics metrics(table.font());
    for (int column = 0; column < FileTableModel::COLUMN_COUNT; ++column) {
        int widest = metrics.horizontalAdvance(FileTableModel::COLUMN_NAMES[column]);
        for (int row = 0; row < model.rowCount(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(GeneralTableCellRenderer::textOf(model.data(model.index(row, column)))));
        EXPECT_EQ(table.horizontalHeader()->sectionSize(column), widest + 30) << column;
        EXPECT_EQ(table.horizontalHeader()->sectionResizeMode(column), QHeaderView::Fixed);
    }
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::ToolTipRole), "NAME");
}

TEST(CellText, SizesDatesAndErrors)
{
    EXPECT_EQ(GeneralTableCellRenderer::textOf(qint64(1234567)), "1234567");
    EXPECT_EQ(GeneralTableCellRenderer::textOf(QString("x.jpg")), "x.jpg");
    EXPECT_EQ(GeneralTableCellRenderer::textOf(QVariant()), "");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDateTime when(QDate(2025, 12, 9), QTime(12, 21, 7), Qt::UTC);
    EXPECT_EQ(GeneralTableCellRenderer::textOf(when), "12/9/25 12:21:07 PM UTC");
    bool failed = false;
    EXPECT_EQ(GeneralTableCellRenderer::textOf(QDateTime(), &failed), "DATE ERROR!");
    EXPECT_TRUE(failed);
    QLocale::setDefault(QLocale::system());
}

TEST(FilterDialog, RefusesAnEmptyTextAndBuildsTheFilter)
{
    TempHome home;
    ScriptedPrompter prompter;
    Prompter::setCurrent(&prompter);
    TableFileNameFilterDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "File Name Filter Dialog");
    EXPECT_EQ(dialog.filter().getDescription(), "Include containing \"\" [match case]");
    prompter.expect(Prompt::Kind::Message, "Message", {}, QString("No text entered to filter on"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("jbCreateFilter"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isInitialized());
    EXPECT_EQ(prompter.pending(), 0);

    TableFileNameFilterDialog preset("IMG_0001.JPG");
    EXPECT_EQ(preset.findChild<QLineEdit*>("jtfFilterText")->text(), "IMG_0001.JPG");
    preset.findChild<QRadioButton*>("jrbExclude")->setChecked(true);
    preset.findChild<QRadioButton*>("jrbEndsWith")->setChecked(true);
    preset.findChild<QCheckBox*>("jckbCaseSensitive")->setChecked(false);
    QTest::mouseClick(preset.findChild<QPushButton*>("jbCreateFilter"), Qt::LeftButton);
    EXPECT_TRUE(preset.isInitialized());
    EXPECT_EQ(preset.filter().getDescription(), "Exclude ending with \"IMG_0001.JPG\" [ignore case]");
    EXPECT_TRUE(preset.filter().isEnabled());
    Prompter::setCurrent(nullptr);
}

namespace {
std::atomic<int> testerFailures{0};
QtMessageHandler previousHandler = nullptr;
void countFailures(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains("FAIL!"))
        ++testerFailures;
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

// The loader changes the catalogue on its own thread while the view paints it.
TEST(FileTableThreads, WorkerChangesTheModelWhileTheViewPaints)
{
    TempHome home;
    QStringList files;
    for (int i = 0; i < 300; ++i)
        files << home.write(QString("f%1.%2").arg(i, 3, 10, QLatin1Char('0')).arg(i % 3 ? "jpg" : "png"), QByteArray(i, 'x'));
    FileTableModel model;
    previousHandler = qInstallMessageHandler(countFailures);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    FileTable view;
    view.setFileTableModel(&model);
    view.resize(700, 500);
    view.show();

    for (int round = 0; round < 50; ++round) {
        paintWhileWorking(view, [&] {
            for (int i = 0; i < 12; ++i) {
                model.setFiles(files.mid(i * 7 % 50, 100 + (i * 37) % 200));
                model.sort(i % 5, i % 2);
                if (i % 3 == 0)
                    model.addFilter({QString::number(i % 10), i % 2 == 0, TableFileNameFilter::Position::CONTAINS, true});
                if (i % 4 == 0)
                    model.removeFilters(model.getFilters());
                model.removeFile({0, 2, 4});
            }
        }, [&] { (void)view.getSelectedFiles(); });
        ASSERT_EQ(model.rowCount(), model.getRowCount()) << "round " << round;
        ASSERT_EQ(model.shownFiles(), model.getFileList());
    }
    qInstallMessageHandler(previousHandler);
    EXPECT_EQ(testerFailures.load(), 0);
}
