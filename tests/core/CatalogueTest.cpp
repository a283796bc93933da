#include "TempHome.h"
#include "data/DualValueDataObject.h"
#include "data/FileSortComparator.h"
#include "data/StringSortComparator.h"
#include "models/FileTableModel.h"
#include "models/TableFileNameFilter.h"
#include "util/ValueFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

class Catalogue : public TempHomeTest {
protected:
    // A file with this many bytes and, when given, this modification time (seconds after 2020-01-01).
    QString file(const QString& name, int size = 1, int secondsAfter = -1)
    {
        const QString path = home.write(name, QByteArray(size, 'x'));
        if (secondsAfter >= 0) {
            QFile f(path);
            f.open(QIODevice::ReadWrite);
            f.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(secondsAfter), QFileDevice::FileModificationTime);
        }
        return path;
    }
    QStringList names(const QStringList& paths)
    {
        QStringList out;
        for (const QString& p : paths)
            out << QFileInfo(p).fileName();
        return out;
    }
};

struct Recorder : FileTableModelListener, FileTableModelLoadListener, BusyListener {
    int changes = 0, loads = 0;
    QList<bool> busy;
    void tableChanged(FileTableModel*) override { ++changes; }
    void tableLoaded(const TableLoadEvent& e) override { loads += e.getModel() != nullptr; }
    void setBusy(bool on) override { busy << on; }
};

} // namespace

TEST_F(Catalogue, OrderingsByEveryCriterion)
{
    const QString b = file("b.jpg", 30, 10), a = file("A.jpg", 10, 20), c = file("c.JPG", 20, 20), d = file("d.jpg", 40, 5);
    QDir(home.path()).mkdir("folder");
    const QString folder = home.path() + "/folder";
    const QString png = file("x.png", 5, 1), jpg = file("y.jpg", 5, 1);

    struct Case {
        QStringList input;
        int criterion;
        bool descending, ignoreCase;
        QStringList expected;
    };
    const Case cases[] = {
        {{b, a, c}, FileSortComparator::NAME, false, true, {"A.jpg", "b.jpg", "c.JPG"}},
        {{b, a, c}, FileSortComparator::NAME, true, true, {"c.JPG", "b.jpg", "A.jpg"}},
        {{b, a, c}, FileSortComparator::NAME, false, false, {"A.jpg", "b.jpg", "c.JPG"}},
        {{c, a}, FileSortComparator::NAME, false, false, {"A.jpg", "c.JPG"}},
        {{folder, png, jpg}, FileSortComparator::TYPE, false, true, {"y.jpg", "x.png", "folder"}},
        {{folder, png, jpg}, FileSortComparator::TYPE, true, true, {"folder", "x.png", "y.jpg"}},
        {{c, b, a, d}, FileSortComparator::MODIFIED, false, true, {"d.jpg", "b.jpg", "c.JPG", "A.jpg"}}, // c and A tie
        {{a, c, b, d}, FileSortComparator::MODIFIED, false, true, {"d.jpg", "b.jpg", "A.jpg", "c.JPG"}},
        {{a, b, c, d}, FileSortComparator::SIZE, true, true, {"d.jpg", "b.jpg", "c.JPG", "A.jpg"}},
        {{b, a, c}, -1, false, true, {"A.jpg", "b.jpg", "c.JPG"}},
        {{b, a, c}, 42, false, true, {"A.jpg", "b.jpg", "c.JPG"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(QString("criterion %1 descending %2").arg(k.criterion).arg(k.descending).toStdString());
        QStringList list = k.input;
        FileSortComparator(k.criterion, k.descending, k.ignoreCase).sort(list);
        EXPECT_EQ(names(list), k.expected);
    }
    FileSortComparator byName;
    EXPECT_LT(byName.compare(std::nullopt, a), 0);
    EXPECT_GT(byName.compare(a, std::nullopt), 0);
    EXPECT_EQ(byName.compare(std::nullopt, std::nullopt), 0);
    EXPECT_LT(FileSortComparator(FileSortComparator::PATH).compare(home.path() + "/a/z.jpg", home.path() + "/b/a.jpg"), 0);
    EXPECT_EQ(FileSortComparator::getIndexOf("MODIFIED"), 3);
    EXPECT_EQ(FileSortComparator::getIndexOf("PATH"), 4);
    EXPECT_EQ(FileSortComparator::getIndexOf("modified"), -1);
    EXPECT_EQ(FileSortComparator::getColumnName(1), "SIZE");
}

TEST_F(Catalogue, ColumnValuesComeFromTheFileSystem)
{
    const QString noext = file("noext", 3), dotted = file("a.b.JPG", 7, 60);
    QDir(home.path()).mkdir("dir");
    const QString dir = home.path() + "/dir";
    const QString gone = file("gone.jpg", 9);
    FileTableModel model;
    model.setFiles({noext, dotted, dir, gone});
    QFile::remove(gone);
    EXPECT_EQ(model.getValueAt(0, FileTableModel::TYPE_COLUMN), "FILE");
    EXPECT_EQ(model.getValueAt(1, FileTableModel::TYPE_COLUMN), "FILE (*.JPG)");
    EXPECT_EQ(model.getValueAt(2, FileTableModel::TYPE_COLUMN), "DIR");
    EXPECT_EQ(model.getValueAt(3, FileTableModel::TYPE_COLUMN), "UNKNOWN");
    EXPECT_EQ(model.getValueAt(3, FileTableModel::SIZE_COLUMN), qint64(0));
    EXPECT_EQ(model.getValueAt(3, FileTableModel::MODIFIED_COLUMN).toDateTime().toMSecsSinceEpoch(), 0);
    EXPECT_EQ(model.getValueAt(3, FileTableModel::NAME_COLUMN), "gone.jpg"); // the row stays
    EXPECT_EQ(model.getValueAt(1, FileTableModel::SIZE_COLUMN), qint64(7));
    EXPECT_EQ(model.getValueAt(1, FileTableModel::MODIFIED_COLUMN).toDateTime(), QDateTime(QDate(2020, 1, 1), QTime(0, 1)));
    EXPECT_EQ(model.getValueAt(1, FileTableModel::PATH_COLUMN), home.path());
    EXPECT_EQ(FileTableModel::COLUMN_NAMES, (QStringList{"NAME", "MODIFIED", "SIZE", "TYPE", "PATH"}));
    EXPECT_EQ(FileTableModel::getColumnClass(FileTableModel::SIZE_COLUMN), QMetaType::LongLong);
    model.validate();
    EXPECT_EQ(model.getRowCount(), 3);
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(Catalogue, FiltersKeepOrderAndRefuseDuplicates)
{
    const QString img1 = file("img_0001.jpg"), img2 = file("IMG_0002.JPG"), png = file("shot.PNG"), y2010 = file("2010_trip.jpg"),
                  y2010png = file("2010_map.png");
    const QStringList all = {img1, img2, png, y2010, y2010png};
    using P = TableFileNameFilter::Position;
    struct Case {
        QList<TableFileNameFilter> filters;
        QStringList visible;
    };
    const Case cases[] = {
        {{{"jpg", false, P::ENDS_WITH, false}}, {"shot.PNG", "2010_map.png"}},
        {{{"IMG", true, P::BEGINS_WITH, true}}, {"IMG_0002.JPG"}},
        {{{"2010", true, P::CONTAINS, true}, {".png", false, P::ENDS_WITH, true}}, {"2010_trip.jpg"}},
        {{{"jpg", true, P::CONTAINS, true, false}}, {"img_0001.jpg", "IMG_0002.JPG", "shot.PNG", "2010_trip.jpg", "2010_map.png"}},
    };
    for (const Case& c : cases) {
        FileTableModel model;
        model.setFiles(all);
        for (const TableFileNameFilter& f : c.filters)
            EXPECT_TRUE(model.addFilter(f));
        EXPECT_EQ(names(model.getFileList()), c.visible);
        EXPECT_EQ(model.getUnfilteredFileList(), all);
    }
    FileTableModel model;
    model.setFiles(all);
    EXPECT_TRUE(model.addFilter({"IMG", true, P::CONTAINS, true}));
    EXPECT_FALSE(model.addFilter({"IMG", true, P::CONTAINS, true, false}));
    EXPECT_EQ(model.getFilters().size(), 1);
    EXPECT_EQ(model.getIndicesOf({png, img2, img1}), QList<int>{0}); // only IMG_0002 is visible
    model.enableFilters(false);
    EXPECT_EQ(model.getRowCount(), 1) << "switching does not rebuild";
    model.fireDataChangedEvent();
    EXPECT_EQ(model.getRowCount(), 5);
    model.removeFilters(model.getFilters());
    EXPECT_TRUE(model.getFilters().isEmpty());

    // Sorting under a filter orders the master list, so switching the filter off shows everything sorted.
    const QString big = file("big.jpg", 500), mid = file("mid.png", 300), small = file("small.jpg", 100);
    model.setFiles({small, mid, big});
    model.addFilter({"jpg", true, P::ENDS_WITH, true});
    model.sort("SIZE", true);
    EXPECT_EQ(names(model.getFileList()), (QStringList{"big.jpg", "small.jpg"}));
    model.enableFilters(false);
    model.fireDataChangedEvent();
    EXPECT_EQ(names(model.getFileList()), (QStringList{"big.jpg", "mid.png", "small.jpg"}));

    struct Description {
        TableFileNameFilter filter;
        const char* text;
    };
    const Description descriptions[] = {
        {{"IMG", true, P::CONTAINS, true}, "Include containing \"IMG\" [match case]"},
        {{"jpg", false, P::ENDS_WITH, false}, "Exclude ending with \"jpg\" [ignore case]"},
        {{"2010", true, P::BEGINS_WITH, false}, "Include beginning with \"2010\" [ignore case]"},
    };
    for (const Description& d : descriptions)
        EXPECT_EQ(d.filter.getDescription(), d.text);
}

TEST_F(Catalogue, FiltersFileRoundTripStartsEveryFilterSwitchedOff)
{
    using P = TableFileNameFilter::Position;
    FileTableModel model;
    model.addFilter({"IMG", true, P::BEGINS_WITH, true});
    model.addFilter({"png", false, P::ENDS_WITH, false});
    const QString file = home.path() + "/Zentrova.filters";
    ASSERT_TRUE(model.storeFilters(file));
    FileTableModel restored;
    const QList<TableFileNameFilter> read = restored.loadFilters(file);
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].getDescription(), "Include beginning with \"IMG\" [match case]");
    EXPECT_EQ(read[1].getDescription(), "Exclude ending with \"png\" [ignore case]");
    EXPECT_FALSE(read[0].isEnabled());
    EXPECT_EQ(restored.getFilters(), read);

    ASSERT_TRUE(ValueFile::writeRecords(file, {{QString("x"), true}}));
    EXPECT_TRUE(restored.loadFilters(file).isEmpty());
    EXPECT_TRUE(restored.getFilters().isEmpty());
    EXPECT_TRUE(restored.loadFilters(home.path() + "/missing").isEmpty());
}

TEST_F(Catalogue, OperationsListenersAndLookups)
{
    const QString a = file("alpha.jpg"), b = file("Beta.jpg"), c = file("gamma.png");
    FileTableModel model;
    Recorder r;
    model.addTableModelListener(&r);
    model.addTableModelListener(&r);
    model.addFileTableModelLoadListener(&r);
    model.addBusyListener(&r);
    model.setFiles({c, a, b});
    EXPECT_EQ(r.changes, 1);
    EXPECT_EQ(r.loads, 1);
    EXPECT_EQ(r.busy, (QList<bool>{true, false}));
    model.sort("NAME", false);
    EXPECT_EQ(names(model.getFileList()), (QStringList{"alpha.jpg", "Beta.jpg", "gamma.png"}));
    EXPECT_EQ(model.lastSortCriterion(), FileSortComparator::NAME);
    model.sort("SIZE", true);
    EXPECT_EQ(model.lastSortCriterion(), FileSortComparator::SIZE);
    EXPECT_TRUE(model.lastSortDescending());
    model.sort(FileSortComparator::NAME, true);
    model.setFiles({a, b, c});
    model.resort();
    EXPECT_EQ(names(model.getFileList()), (QStringList{"gamma.png", "Beta.jpg", "alpha.jpg"}));
    EXPECT_EQ(model.getFirstStartingWith("be"), b);
    EXPECT_FALSE(model.getFirstStartingWith("zz").has_value());
    EXPECT_EQ(model.getIndexOf(a), 2);
    EXPECT_EQ(model.getFileList({2, 0}), (QStringList{a, c}));
    model.removeFile({0, 2});
    EXPECT_EQ(model.getFileList(), QStringList{b});
    EXPECT_EQ(r.loads, 2) << "only setFiles is a load";
    model.clear();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_FALSE(model.getFirstStartingWith("a").has_value());
    EXPECT_FALSE(model.getFile(0).has_value());
}

TEST(ValuePairs, CompareModesAndEquality)
{
    const DualValueDataObject five(5, "Friday 05", DualValueDataObject::COMPARE_BY_VALUE);
    const DualValueDataObject twelve(12, "Monday 12", DualValueDataObject::COMPARE_BY_VALUE);
    EXPECT_LT(five.compareTo(twelve), 0);
    const DualValueDataObject b("/x/b.jpg", "b.jpg", DualValueDataObject::COMPARE_BY_DISPLAY);
    const DualValueDataObject a("/y/A.jpg", "A.jpg", DualValueDataObject::COMPARE_BY_DISPLAY);
    EXPECT_GT(b.compareTo(a), 0);
    EXPECT_EQ(DualValueDataObject("/p", "one"), DualValueDataObject("/p", "two"));
    EXPECT_FALSE(DualValueDataObject("/p", "one") == DualValueDataObject("/q", "one"));
    EXPECT_EQ(a.toString(), "A.jpg");
    EXPECT_LT(DualValueDataObject(1, "b").compareTo(DualValueDataObject(1, "C")), 0) << "both: value, then display";
    EXPECT_LT(StringSortComparator().compare("apple", "Banana"), 0);
}
