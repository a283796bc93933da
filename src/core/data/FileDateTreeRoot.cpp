#include "data/FileDateTreeRoot.h"

#include "image/ImageDateTime.h"
#include "util/FileUtil.h"
#include "util/ProgressTarget.h"

#include <QFileInfo>

namespace zentrova {

// Spelled out here: copying the picture-date table would depend on the order statics are built in.
const std::array<QString, 12> FileDateTreeRoot::MONTH_NAMES = {
    QStringLiteral("January"), QStringLiteral("Febuary"), QStringLiteral("March"),     QStringLiteral("April"),
    QStringLiteral("May"),     QStringLiteral("June"),    QStringLiteral("July"),      QStringLiteral("August"),
    QStringLiteral("September"), QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December"),
};
const std::array<QString, 7> FileDateTreeRoot::DAYS_OF_WEEK = {
    QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"), QStringLiteral("Wednesday"),
    QStringLiteral("Thursday"), QStringLiteral("Friday"), QStringLiteral("Saturday"),
};

FileDateTreeRoot::FileDateTreeRoot() : SortingTreeNode(ROOT_LABEL) {}

FileDateTreeRoot::FileDateTreeRoot(const QStringList& list) : FileDateTreeRoot()
{
    setFiles(list);
}

void FileDateTreeRoot::setFiles(const QStringList& list)
{
    removeAllChildren();
    paths.clear();
    files = list;
    if (list.isEmpty())
        return;
    if (progress) {
        progress->setIndeterminate(true);
        progress->setStringPainted(true);
    }
    // Siblings found by label (or day number) in a table instead of a linear search; the order is the
    // same, since every child is inserted at its stable sorted place.
    QHash<QString, CustomTreeNode*> years;
    QHash<CustomTreeNode*, QHash<int, CustomTreeNode*>> months;
    QHash<CustomTreeNode*, QHash<int, CustomTreeNode*>> days;
    for (int i = 0; i < list.size(); ++i) {
        const QString& file = list[i];
        const ImageDateTime when(file);
        const QDate date = (when.isValid() ? when.getCalendar() : FileUtil::modificationTime(file).toLocalTime()).date();
        const QString yearLabel = when.isValid() && when.getYearString() ? *when.getYearString() : QString::number(date.year());

        CustomTreeNode*& year = years[yearLabel];
        if (!year)
            year = add(std::make_unique<SortingTreeNode>(yearLabel, &NodeComparators::monthSort));
        CustomTreeNode*& month = months[year][date.month()];
        if (!month)
            month = year->add(std::make_unique<SortingTreeNode>(MONTH_NAMES[std::size_t(date.month() - 1)], &NodeComparators::dualValue));
        CustomTreeNode*& day = days[month][date.day()];
        if (!day) {
            const QString display = DAYS_OF_WEEK[std::size_t(date.dayOfWeek() % 7)] + QLatin1Char(' ') + QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
            day = month->add(std::make_unique<SortingTreeNode>(
                DualValueDataObject(date.day(), display, DualValueDataObject::COMPARE_BY_VALUE), &NodeComparators::dualValue));
        }
        CustomTreeNode* leaf = day->add(std::make_unique<CustomTreeNode>(
            DualValueDataObject(file, QFileInfo(file).fileName(), DualValueDataObject::COMPARE_BY_DISPLAY)));
        paths.insert(QFileInfo(file).absoluteFilePath(), TreePath{this, year, month, day, leaf});
        if (progress) {
            progress->setIndeterminate(false);
            progress->setDeterminate(0, int(list.size()), i + 1);
        }
    }
}

std::optional<QString> FileDateTreeRoot::fileOf(const CustomTreeNode* node)
{
    if (!node || !node->isLeaf())
        return std::nullopt;
    const DualValueDataObject* pair = node->pair();
    if (!pair || pair->getValue().typeId() != QMetaType::QString)
        return std::nullopt;
    return pair->getValue().toString();
}

std::optional<TreePath> FileDateTreeRoot::getPathFor(const QString& file) const
{
    const auto it = paths.constFind(QFileInfo(file).absoluteFilePath());
    if (it == paths.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<QString> FileDateTreeRoot::neighbour(const QString& file, bool next) const
{
    const std::optional<TreePath> path = getPathFor(file);
    if (!path)
        return std::nullopt;
    // Up until a sibling lies that way, then down to the nearest leaf on its near side.
    const CustomTreeNode* node = path->back();
    while (node->parent()) {
        const CustomTreeNode* parent = node->parent();
        const int i = parent->indexOf(node) + (next ? 1 : -1);
        if (i >= 0 && i < parent->childCount()) {
            const CustomTreeNode* n = parent->childAt(i);
            while (!n->isLeaf())
                n = n->childAt(next ? 0 : n->childCount() - 1);
            return fileOf(n);
        }
        node = parent;
    }
    return std::nullopt;
}

std::optional<QString> FileDateTreeRoot::getNextFile(const QString& file) const
{
    return neighbour(file, true);
}

std::optional<QString> FileDateTreeRoot::getPrevFile(const QString& file) const
{
    return neighbour(file, false);
}

std::vector<TreePath> FileDateTreeRoot::getMonthPaths() const
{
    std::vector<TreePath> out;
    for (int y = 0; y < childCount(); ++y)
        out.push_back({const_cast<FileDateTreeRoot*>(this), childAt(y)});
    return out;
}

std::vector<TreePath> FileDateTreeRoot::getDayPaths() const
{
    std::vector<TreePath> out;
    for (int y = 0; y < childCount(); ++y)
        for (int m = 0; m < childAt(y)->childCount(); ++m)
            out.push_back({const_cast<FileDateTreeRoot*>(this), childAt(y), childAt(y)->childAt(m)});
    return out;
}

} // namespace zentrova
