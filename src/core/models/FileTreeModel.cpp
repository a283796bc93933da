#include "models/FileTreeModel.h"

#include "models/FileTableModel.h"

#include <QThread>

namespace zentrova {

FileTreeModel::FileTreeModel(FileTableModel* table, QObject* parent)
    : QAbstractItemModel(parent), table(table), latest(std::make_shared<FileDateTreeRoot>()), shown(latest)
{
    if (table)
        table->addTableModelListener(this);
}

FileTreeModel::~FileTreeModel()
{
    if (table)
        table->removeTableModelListener(this);
}

void FileTreeModel::setProgressBar(ProgressTarget* bar)
{
    std::lock_guard guard(lock);
    progress = bar;
    latest->setProgressBar(bar);
}

void FileTreeModel::removeFiles(const QStringList& files)
{
    if (table)
        table->removeAll(files);
}

std::shared_ptr<const FileDateTreeRoot> FileTreeModel::latestRoot() const
{
    std::lock_guard guard(lock);
    return latest;
}

void FileTreeModel::tableChanged(FileTableModel* model)
{
    if (tree)
        tree->setBusy(true);
    auto root = std::make_shared<FileDateTreeRoot>();
    {
        std::lock_guard guard(lock);
        root->setProgressBar(progress);
    }
    root->setFiles(model->getFileList());
    {
        std::lock_guard guard(lock);
        latest = root;
    }
    publish();
    if (tree)
        tree->setBusy(false);
}

void FileTreeModel::publish()
{
    auto swap = [this] {
        std::shared_ptr<FileDateTreeRoot> newest;
        {
            std::lock_guard guard(lock);
            newest = latest;
        }
        if (newest == shown)
            return;
        beginResetModel();
        shown = std::move(newest);
        endResetModel();
        emit rebuilt();
    };
    if (QThread::currentThread() == thread())
        swap();
    else
        QMetaObject::invokeMethod(this, swap, Qt::QueuedConnection);
}

CustomTreeNode* FileTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<CustomTreeNode*>(index.internalPointer()) : shown.get();
}

QModelIndex FileTreeModel::indexFor(const CustomTreeNode* node) const
{
    if (!node || node == shown.get() || !node->parent())
        return {};
    return createIndex(node->parent()->indexOf(node), 0, const_cast<CustomTreeNode*>(node));
}

QModelIndex FileTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const CustomTreeNode* p = nodeOf(parent);
    if (column != 0 || row < 0 || row >= p->childCount())
        return {};
    return createIndex(row, 0, p->childAt(row));
}

QModelIndex FileTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexFor(nodeOf(child)->parent());
}

int FileTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return nodeOf(parent)->childCount();
}

int FileTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FileTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return nodeOf(index)->label();
}

Qt::ItemFlags FileTreeModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace zentrova
