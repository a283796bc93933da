#include "table/FileTable.h"

#include "models/FileTableModel.h"
#include "renderers/GeneralTableCellRenderer.h"
#include "renderers/TableHeaderCellRenderer.h"
#include "util/Console.h"
#include "util/Prompter.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace zentrova {

FileTable::FileTable(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new TableHeaderCellRenderer(this));
    setItemDelegate(new GeneralTableCellRenderer(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fitRowHeight();

    auto* confirmed = new QAction(this);
    confirmed->setObjectName(QStringLiteral("deleteFilesConfirmed"));
    confirmed->setShortcut(QKeySequence(Qt::Key_Delete));
    confirmed->setShortcutContext(Qt::WidgetShortcut);
    connect(confirmed, &QAction::triggered, this, [this] { deleleSeleted(true); });
    addAction(confirmed);
    auto* unasked = new QAction(this);
    unasked->setObjectName(QStringLiteral("deleteFiles"));
    unasked->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    unasked->setShortcutContext(Qt::WidgetShortcut);
    connect(unasked, &QAction::triggered, this, [this] { deleleSeleted(false); });
    addAction(unasked);
}

void FileTable::fitRowHeight()
{
    // Rows fit the table's font; sizes are drawn bold, which is no taller.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 2 * GeneralTableCellRenderer::PAD_VERTICAL);
}

void FileTable::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowHeight();
}

bool FileTable::setFileTableModel(QAbstractItemModel* model, QString* error)
{
    auto* m = qobject_cast<FileTableModel*>(model);
    if (model && !m) {
        const QString text = WRONG_MODEL + QString::fromLatin1(FileTableModel::staticMetaObject.className()).section(QStringLiteral("::"), -1);
        Console::err(text);
        if (error)
            *error = text;
        return false;
    }
    catalogue = m;
    QTableView::setModel(model);
    return true;
}

void FileTable::setModel(QAbstractItemModel* model)
{
    setFileTableModel(model);
}

std::optional<QString> FileTable::getSelectedFile() const
{
    const QStringList files = getSelectedFiles();
    return files.isEmpty() ? std::nullopt : std::optional<QString>(files.first());
}

QStringList FileTable::getSelectedFiles() const
{
    QStringList files;
    if (!catalogue || !selectionModel())
        return files;
    QList<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    for (int r : rows)
        files.append(catalogue->shownFile(r));
    return files;
}

void FileTable::setSelectedFile(const QString& file)
{
    const int row = getIndexOf(file);
    if (row < 0)
        return;
    selectOnly(row);
    setFocus();
}

QList<int> FileTable::rowsOf(const QStringList& files) const
{
    QHash<QString, int> rows;
    const QStringList& shown = catalogue->shownFiles();
    rows.reserve(shown.size());
    for (int i = int(shown.size()) - 1; i >= 0; --i)
        rows.insert(shown[i], i);
    QList<int> out;
    for (const QString& f : files)
        if (const auto it = rows.constFind(f); it != rows.constEnd())
            out.append(*it);
    return out;
}

void FileTable::setSelectedFiles(const QStringList& files)
{
    if (!catalogue)
        return;
    clearSelection();
    QItemSelection selection;
    int first = -1, last = -1;
    for (const int row : rowsOf(files)) {
        selection.select(model()->index(row, 0), model()->index(row, model()->columnCount() - 1));
        first = first < 0 ? row : std::min(first, row);
        last = std::max(last, row);
    }
    selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (first >= 0) {
        scrollTo(model()->index(last, 0));
        scrollTo(model()->index(first, 0));
    }
    setFocus();
}

void FileTable::setSelectedRows(const QStringList& files)
{
    if (!catalogue)
        return;
    const QList<int> rows = rowsOf(files);
    if (rows.isEmpty())
        return;
    setBusy(true);
    scrollToTop();
    clearSelection();
    QItemSelection selection;
    for (int row : rows)
        selection.select(model()->index(row, 0), model()->index(row, model()->columnCount() - 1));
    selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    scrollTo(model()->index(*std::min_element(rows.begin(), rows.end()), 0));
    setBusy(false);
    setFocus();
}

bool FileTable::requestFocusInWindow()
{
    setFocus();
    return true;
}

void FileTable::setSelection(int row)
{
    if (row < 0 || row >= getRowCount())
        return;
    selectOnly(row);
}

int FileTable::getSelection() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    return std::min_element(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); })->row();
}

std::optional<QString> FileTable::getFile(int row) const
{
    if (!catalogue || row < 0 || row >= catalogue->rowCount())
        return std::nullopt;
    return catalogue->shownFile(row);
}

int FileTable::getIndexOf(const QString& file) const
{
    return catalogue ? int(catalogue->shownFiles().indexOf(file)) : -1;
}

int FileTable::getRowCount() const
{
    return catalogue ? catalogue->rowCount() : 0;
}

void FileTable::deleleSeleted(bool askFirst)
{
    if (!catalogue)
        return;
    if (askFirst && !Prompter::confirmFileDeletion())
        return;
    const QStringList files = getSelectedFiles();
    if (files.isEmpty())
        return;
    const int lowest = getSelection();
    setBusy(true);
    catalogue->removeAll(files);
    for (const QString& f : files)
        QFile::remove(f); // a file that stays on disk still leaves the catalogue
    setBusy(false); // first, because a disabled table can take neither the selection nor the focus
    const int rows = getRowCount();
    if (rows > 0)
        selectOnly(std::min(lowest, rows - 1));
    setFocus();
}

void FileTable::selectOnly(int row)
{
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void FileTable::setBusy(bool busy)
{
    setEnabled(!busy);
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    busyListeners.notify([busy](BusyListener* l) { l->setBusy(busy); });
}

} // namespace zentrova
