#pragma once

#include "data/FileDateTreeRoot.h"

#include <QTreeView>

namespace zentrova {

class FileTreeModel;

// A tree view over a FileTreeModel with whole-tree expanding and collapsing by paths of nodes.
class ETree : public QTreeView {
    Q_OBJECT
public:
    explicit ETree(QWidget* parent = nullptr);
    void setTreeModel(FileTreeModel* model);
    FileTreeModel* treeModel() const { return tree; }

    void expandAll();
    void collapseAll();
    void expandRoot();
    void expandAllPaths(const std::vector<TreePath>& paths);
    // Opens every node on the path; nothing for a path that is missing or ends in a leaf.
    void expandPath(const TreePath& path);
    QModelIndex indexOf(const TreePath& path) const;

protected:
    FileTreeModel* tree = nullptr;
};

} // namespace zentrova
