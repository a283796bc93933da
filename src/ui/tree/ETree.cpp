#include "tree/ETree.h"

#include "models/FileTreeModel.h"

namespace zentrova {

ETree::ETree(QWidget* parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(true);
}

void ETree::setTreeModel(FileTreeModel* model)
{
    tree = model;
    setModel(model);
    if (model) {
        connect(model, &FileTreeModel::rebuilt, this, &ETree::expandAll, Qt::UniqueConnection);
        expandAll();
    }
}

void ETree::expandAll()
{
    QTreeView::expandAll();
}

void ETree::collapseAll()
{
    QTreeView::collapseAll();
}

void ETree::expandRoot()
{
    // The root is hidden and always open: its children, the years, show once everything below is closed.
}

QModelIndex ETree::indexOf(const TreePath& path) const
{
    return tree && !path.empty() ? tree->indexFor(path.back()) : QModelIndex();
}

void ETree::expandPath(const TreePath& path)
{
    if (!tree || path.empty() || path.back()->isLeaf())
        return;
    for (std::size_t i = 1; i < path.size(); ++i)
        expand(tree->indexFor(path[i]));
}

void ETree::expandAllPaths(const std::vector<TreePath>& paths)
{
    for (const TreePath& p : paths)
        expandPath(p);
}

} // namespace zentrova
