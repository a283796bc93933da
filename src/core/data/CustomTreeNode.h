#pragma once

#include "data/DualValueDataObject.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace zentrova {

// A tree node holding a user object (a text or a value pair); its label is the object's text.
class CustomTreeNode {
public:
    using UserObject = std::variant<QString, DualValueDataObject>;

    explicit CustomTreeNode(UserObject object) : object(std::move(object)) {}
    virtual ~CustomTreeNode() = default;
    CustomTreeNode(const CustomTreeNode&) = delete;
    CustomTreeNode& operator=(const CustomTreeNode&) = delete;

    const UserObject& getUserObject() const { return object; }
    const DualValueDataObject* pair() const { return std::get_if<DualValueDataObject>(&object); }
    QString label() const;
    bool operator==(const CustomTreeNode& other) const { return label() == other.label(); }

    CustomTreeNode* parent() const { return up; }
    int childCount() const { return int(kids.size()); }
    CustomTreeNode* childAt(int i) const { return kids[std::size_t(i)].get(); }
    int indexOf(const CustomTreeNode* child) const;
    bool isLeaf() const { return kids.empty(); }
    void removeAllChildren() { kids.clear(); }

    // Appends; a sorting node puts the child at its place instead. Answers the child.
    virtual CustomTreeNode* add(std::unique_ptr<CustomTreeNode> child);

protected:
    std::vector<std::unique_ptr<CustomTreeNode>> kids;

private:
    UserObject object;
    CustomTreeNode* up = nullptr;
};

// Negative, zero or positive for two sibling nodes.
using NodeComparator = std::function<int(const CustomTreeNode&, const CustomTreeNode&)>;

// Keeps its children sorted: each new child goes after every sibling that does not sort after it, which is
// where appending and a stable sort would put it.
class SortingTreeNode : public CustomTreeNode {
public:
    explicit SortingTreeNode(UserObject object, NodeComparator comparator = {})
        : CustomTreeNode(std::move(object)), comparator(std::move(comparator))
    {
    }
    void setSortComparator(NodeComparator c) { comparator = std::move(c); }
    void setDescending(bool d) { descending = d; }
    CustomTreeNode* add(std::unique_ptr<CustomTreeNode> child) override;

private:
    NodeComparator comparator;
    bool descending = false;
};

// The orderings of the date tree.
namespace NodeComparators {
// Labels by plain character comparison; descending swaps the sides.
int stringSort(const CustomTreeNode& a, const CustomTreeNode& b, bool descending = false);
// Month labels by their place in the long or short month tables; unknown labels (-1) first.
int monthSort(const CustomTreeNode& a, const CustomTreeNode& b);
int monthIndexOf(const QString& label);
// Pairs by their own rule; a node without a pair sorts first.
int dualValue(const CustomTreeNode& a, const CustomTreeNode& b);
inline const QStringList MONTH_NAMES_LONG = {"january", "febuary", "march", "april", "may", "june",
                                             "july", "august", "september", "october", "november", "december"};
inline const QStringList MONTH_NAMES_SHORT = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
} // namespace NodeComparators

} // namespace zentrova
