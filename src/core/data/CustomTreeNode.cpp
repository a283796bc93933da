#include "data/CustomTreeNode.h"

#include <QStringList>

#include <algorithm>

namespace zentrova {

QString CustomTreeNode::label() const
{
    if (const auto* text = std::get_if<QString>(&object))
        return *text;
    return std::get<DualValueDataObject>(object).toString();
}

int CustomTreeNode::indexOf(const CustomTreeNode* child) const
{
    for (std::size_t i = 0; i < kids.size(); ++i)
        if (kids[i].get() == child)
            return int(i);
    return -1;
}

CustomTreeNode* CustomTreeNode::add(std::unique_ptr<CustomTreeNode> child)
{
    child->up = this;
    kids.push_back(std::move(child));
    return kids.back().get();
}

CustomTreeNode* SortingTreeNode::add(std::unique_ptr<CustomTreeNode> child)
{
    const NodeComparator& cmp = comparator;
    const bool desc = descending;
    auto before = [&](const CustomTreeNode& a, const CustomTreeNode& b) {
        return (cmp ? cmp(a, b) : NodeComparators::stringSort(a, b, desc)) < 0;
    };
    // After the last sibling the new child does not sort before: stable, like append + stable sort.
    const auto at = std::upper_bound(kids.begin(), kids.end(), child,
                                     [&](const std::unique_ptr<CustomTreeNode>& c, const std::unique_ptr<CustomTreeNode>& k) {
                                         return before(*c, *k);
                                     });
    const auto offset = at - kids.begin();
    CustomTreeNode* raw = child.get();
    CustomTreeNode::add(std::move(child)); // sets the parent, appends
    std::rotate(kids.begin() + offset, kids.end() - 1, kids.end());
    return raw;
}

int NodeComparators::stringSort(const CustomTreeNode& a, const CustomTreeNode& b, bool descending)
{
    return descending ? QString::compare(b.label(), a.label()) : QString::compare(a.label(), b.label());
}

int NodeComparators::monthIndexOf(const QString& label)
{
    const QString lower = label.toLower();
    const qsizetype i = MONTH_NAMES_LONG.indexOf(lower);
    return int(i >= 0 ? i : MONTH_NAMES_SHORT.indexOf(lower));
}

int NodeComparators::monthSort(const CustomTreeNode& a, const CustomTreeNode& b)
{
    const int x = monthIndexOf(a.label()), y = monthIndexOf(b.label());
    return x < y ? -1 : x > y ? 1 : 0;
}

int NodeComparators::dualValue(const CustomTreeNode& a, const CustomTreeNode& b)
{
    const DualValueDataObject* x = a.pair();
    const DualValueDataObject* y = b.pair();
    if (!x || !y)
        return x ? 1 : y ? -1 : 0;
    return x->compareTo(*y);
}

} // namespace zentrova
