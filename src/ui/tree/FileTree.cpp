#include "tree/FileTree.h"

#include "models/FileTreeModel.h"
#include "thread/WorkerThread.h"
#include "ui/UiThread.h"
#include "util/Prompter.h"

#include <QAction>
#include <QFile>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace zentrova {

namespace {
// Rows as high as the font plus the padding.
class RowHeight : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(option.fontMetrics.height() + FileTree::ROW_PADDING);
        return s;
    }
};
} // namespace

FileTree::FileTree(QWidget* parent) : ETree(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setItemDelegate(new RowHeight(this));
    setUniformRowHeights(true);
    setViewportMargins(BORDER, BORDER, BORDER, BORDER);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto action = [this](const char* name, QKeySequence key, auto slot) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    action("deleteFilesConfirmed", QKeySequence(Qt::Key_Delete), [this] { deleleSeleted(true); });
    action("deleteFiles", QKeySequence(Qt::SHIFT | Qt::Key_Delete), [this] { deleleSeleted(false); });
    action("goFullScreenTree", QKeySequence(Qt::Key_Return), [this] { emit fullScreenRequested(); });
    connect(this, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (tree && FileDateTreeRoot::fileOf(tree->nodeOf(index)))
            emit fullScreenRequested();
    });
}

void FileTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        emit popupRequested(event->globalPosition().toPoint());
        return;
    }
    ETree::mousePressEvent(event);
}

QStringList FileTree::getSelectedFiles() const
{
    QStringList files;
    if (!tree || !selectionModel())
        return files;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        if (const std::optional<QString> f = FileDateTreeRoot::fileOf(tree->nodeOf(index)))
            files.append(*f);
    return files;
}

std::optional<QString> FileTree::getSelectedFile() const
{
    const QStringList files = getSelectedFiles();
    return files.isEmpty() ? std::nullopt : std::optional<QString>(files.first());
}

void FileTree::setSelectedFile(const QString& file)
{
    if (!tree)
        return;
    clearSelection();
    const std::optional<TreePath> path = tree->root().getPathFor(file);
    if (!path)
        return; // not in the tree: the selection is cleared, the tree left as it is
    collapseAll();
    const QModelIndex index = indexOf(*path);
    for (std::size_t i = 1; i + 1 < path->size(); ++i)
        expand(tree->indexFor((*path)[i]));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void FileTree::setSelectedFiles(const QStringList& files)
{
    clearSelection();
    onUiThread(this, [this, files] {
        if (!tree)
            return;
        std::vector<QModelIndex> found;
        for (const QString& f : files)
            if (const std::optional<TreePath> path = tree->root().getPathFor(f))
                found.push_back(indexOf(*path));
        expandAll();
        QItemSelection selection;
        for (const QModelIndex& i : found)
            selection.select(i, i);
        selectionModel()->select(selection, QItemSelectionModel::Select);
        if (!files.isEmpty())
            if (const std::optional<TreePath> last = tree->root().getPathFor(files.last()))
                scrollTo(indexOf(*last));
    });
}

void FileTree::deleleSeleted(bool askFirst)
{
    if (askFirst && !Prompter::confirmFileDeletion())
        return;
    const QStringList files = getSelectedFiles();
    if (files.isEmpty() || !tree)
        return;
    tree->removeFiles(files);
    WorkerThread::startDetached(QString(), [files] {
        for (const QString& f : files)
            QFile::remove(f); // a file that cannot be removed has still left the catalogue
    });
}

void FileTree::setBusy(bool busy)
{
    onUiThread(this, [this, busy] {
        setEnabled(!busy);
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
}

std::optional<QString> FileTree::getNextFile(const QString& file) const
{
    return tree ? tree->root().getNextFile(file) : std::nullopt;
}

std::optional<QString> FileTree::getPrevFile(const QString& file) const
{
    return tree ? tree->root().getPrevFile(file) : std::nullopt;
}

std::optional<TreePath> FileTree::getPathFor(const QString& file) const
{
    return tree ? tree->root().getPathFor(file) : std::nullopt;
}

void FileTree::showYears()
{
    collapseAll();
    expandRoot();
}

void FileTree::showMonths()
{
    collapseAll();
    if (tree)
        expandAllPaths(tree->root().getMonthPaths());
}

void FileTree::showDays()
{
    collapseAll();
    if (tree)
        expandAllPaths(tree->root().getDayPaths());
}

void FileTree::showAllFiles()
{
    expandAll();
}

} // namespace zentrova
