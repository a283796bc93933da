#include "ImageFixtures.h"
#include "TempHome.h"
#include "data/FileDateTreeRoot.h"
#include "image/ExifFile.h"
#include "image/ImageDateTime.h"
#include "models/FileTableModel.h"
#include "models/FileTreeModel.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

class DateTree : public TempHomeTest {
protected:
    // A PNG dated by its modification time.
    QString dated(const QString& name, QDate date, QTime time = QTime(12, 0))
    {
        const QString path = writeImage(home.path() + "/" + name, gradientImage({4, 4}));
        QFile f(path);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime(date, time), QFileDevice::FileModificationTime);
        return path;
    }
    // A JPEG whose CreateDate lies before the year 1000 (no file system keeps such a time).
    QString oldJpeg()
    {
        const QString path = writeImage(home.path() + "/old.jpg", gradientImage({4, 4}));
        ImageDateTime::setImageDateTime(path, QDateTime(QDate(812, 6, 1), QTime(12, 0)));
        return path;
    }
    static QStringList labels(const CustomTreeNode* node)
    {
        QStringList out;
        for (int i = 0; i < node->childCount(); ++i)
            out << node->childAt(i)->label();
        return out;
    }
    static QStringList outline(const CustomTreeNode* node, int depth = 0)
    {
        QStringList out;
        for (int i = 0; i < node->childCount(); ++i) {
            out << QString(depth * 2, ' ') + node->childAt(i)->label();
            out << outline(node->childAt(i), depth + 1);
        }
        return out;
    }
};

} // namespace

TEST_F(DateTree, YearsMonthsDaysAndFilesInTheirOrders)
{
    const QStringList files = {
        dated("march.png", {2010, 3, 3}), dated("feb.png", {2010, 2, 5}), dated("y2009.png", {2009, 1, 1}),
        dated("B.png", {2010, 2, 5}, {8, 0}), dated("a.png", {2010, 2, 5}, {9, 0}), oldJpeg(),
    };
    const FileDateTreeRoot root(files);
    EXPECT_EQ(root.label(), "File Date Tree");
    EXPECT_EQ(outline(&root), (QStringList{
                                  "2009", "  January", "    Thursday 01", "      y2009.png",
                                  "2010", "  Febuary", "    Friday 05", "      a.png", "      B.png", "      feb.png",
                                  "  March", "    Wednesday 03", "      march.png",
                                  "812", "  June", "    Friday 01", "      old.jpg",
                              }));
    EXPECT_EQ(root.getFiles(), files);
    const std::optional<TreePath> path = root.getPathFor(files[1]);
    ASSERT_TRUE(path.has_value());
    ASSERT_EQ(path->size(), 5u);
    EXPECT_EQ((*path)[1]->label(), "2010");
    EXPECT_EQ(FileDateTreeRoot::fileOf(path->back()), files[1]);
    EXPECT_FALSE(root.getPathFor(home.path() + "/none.png").has_value());
    EXPECT_EQ(root.getMonthPaths().size(), 3u);
    EXPECT_EQ(root.getDayPaths().size(), 4u);
    EXPECT_EQ(root.getDayPaths()[1].back()->label(), "Febuary");
}

TEST_F(DateTree, WalkingTheLeavesCrossesDaysMonthsAndYears)
{
    const QString a = dated("a.png", {2009, 12, 31}), b = dated("b.png", {2010, 1, 1}), c = dated("c.png", {2010, 1, 1}, {13, 0}),
                  d = dated("d.png", {2010, 1, 2}), e = dated("e.png", {2010, 2, 1});
    const FileDateTreeRoot root({e, d, c, b, a});
    struct Step {
        QString from;
        std::optional<QString> next, previous;
    };
    const Step steps[] = {
        {a, b, std::nullopt}, {b, c, a}, {c, d, b}, {d, e, c}, {e, std::nullopt, d},
        {home.path() + "/missing.png", std::nullopt, std::nullopt},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(root.getNextFile(s.from), s.next) << QFileInfo(s.from).fileName().toStdString();
        EXPECT_EQ(root.getPrevFile(s.from), s.previous) << QFileInfo(s.from).fileName().toStdString();
    }
}

TEST_F(DateTree, AFileGivenTwiceGetsTwoLeavesAndAJpegWithoutDateGetsStamped)
{
    const QString twice = dated("twice.png", {2011, 5, 5});
    const QString jpeg = writeImage(home.path() + "/nodate.jpg", gradientImage({8, 8}));
    QFile f(jpeg);
    f.open(QIODevice::ReadWrite);
    f.setFileTime(QDateTime(QDate(2012, 7, 8), QTime(9, 10, 11)), QFileDevice::FileModificationTime);
    f.close();
    const FileDateTreeRoot root({twice, jpeg, twice});
    EXPECT_EQ(outline(&root), (QStringList{"2011", "  May", "    Thursday 05", "      twice.png", "      twice.png",
                                           "2012", "  July", "    Sunday 08", "      nodate.jpg"}));
    EXPECT_EQ(root.getPathFor(twice)->back(), root.childAt(0)->childAt(0)->childAt(0)->childAt(1)) << "the second leaf";
    EXPECT_EQ(ImageDateTime::getImageDateTime(jpeg), QDateTime(QDate(2012, 7, 8), QTime(9, 10, 11)));
}

TEST_F(DateTree, TheModelRebuildsOnEveryCatalogueChange)
{
    const QString a = dated("a.png", {2010, 1, 1}), b = dated("b.png", {2011, 1, 1});
    FileTableModel table;
    FileTreeModel tree(&table);
    EXPECT_EQ(tree.rowCount(), 0);
    table.setFiles({a, b});
    EXPECT_EQ(tree.rowCount(), 2);
    table.addFilter({"b", false, TableFileNameFilter::Position::BEGINS_WITH, true});
    EXPECT_EQ(tree.rowCount(), 1);
    EXPECT_EQ(tree.data(tree.index(0, 0)), "2010");
    tree.removeFiles({a});
    EXPECT_EQ(tree.rowCount(), 0);
    EXPECT_EQ(table.getUnfilteredFileList(), QStringList{b});
    const QModelIndex day = tree.index(0, 0, tree.index(0, 0, tree.index(0, 0)));
    EXPECT_FALSE(day.isValid()) << "nothing visible any more";
}
