#include "models/FileTableModel.h"

#include "data/FileSortComparator.h"
#include "util/Console.h"
#include "util/ValueFile.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <sys/stat.h>

namespace zentrova {

const QStringList FileTableModel::COLUMN_NAMES = {"NAME", "MODIFIED", "SIZE", "TYPE", "PATH"};

FileTableModel::FileTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileTableModel::busy(bool on)
{
    busyListeners.notify([on](BusyListener* l) { l->setBusy(on); });
}

void FileTableModel::rebuildAndAnnounce()
{
    {
        std::lock_guard guard(lock);
        QStringList list = master;
        for (const TableFileNameFilter& f : filters)
            list = f.filterList(list);
        visible = std::move(list);
    }
    publish();
    tableListeners.notify([this](FileTableModelListener* l) { l->tableChanged(this); });
}

void FileTableModel::publish()
{
    auto swap = [this] {
        QStringList latest;
        {
            std::lock_guard guard(lock);
            latest = visible;
        }
        beginResetModel();
        shown = std::move(latest);
        endResetModel();
    };
    if (QThread::currentThread() == thread())
        swap();
    else
        QMetaObject::invokeMethod(this, swap, Qt::QueuedConnection);
}

void FileTableModel::setFiles(const QStringList& files)
{
    busy(true);
    {
        std::lock_guard guard(lock);
        master = files;
    }
    rebuildAndAnnounce();
    busy(false);
    const TableLoadEvent event(this);
    loadListeners.notify([&](FileTableModelLoadListener* l) { l->tableLoaded(event); });
}

void FileTableModel::clear()
{
    busy(true);
    {
        std::lock_guard guard(lock);
        master.clear();
    }
    rebuildAndAnnounce();
    busy(false);
}

void FileTableModel::removeAll(const QStringList& files)
{
    busy(true);
    {
        std::lock_guard guard(lock);
        const QSet<QString> gone(files.begin(), files.end());
        master.removeIf([&](const QString& f) { return gone.contains(f); });
    }
    rebuildAndAnnounce();
    busy(false);
}

void FileTableModel::removeFile(const QList<int>& rows)
{
    busy(true);
    {
        std::lock_guard guard(lock);
        QSet<QString> gone;
        for (int r : rows)
            if (r >= 0 && r < visible.size())
                gone.insert(visible[r]);
        master.removeIf([&](const QString& f) { return gone.contains(f); });
    }
    rebuildAndAnnounce();
    busy(false);
}

void FileTableModel::validate()
{
    {
        std::lock_guard guard(lock);
        master.removeIf([](const QString& f) {
            const QFileInfo info(f);
            return !info.exists() || !info.isReadable();
        });
    }
    rebuildAndAnnounce();
}

int FileTableModel::getRowCount() const
{
    std::lock_guard guard(lock);
    return int(visible.size());
}

bool FileTableModel::isEmpty() const
{
    return getRowCount() == 0;
}

std::optional<QString> FileTableModel::getFile(int row) const
{
    std::lock_guard guard(lock);
    if (row < 0 || row >= visible.size())
        return std::nullopt;
    return visible[row];
}

QStringList FileTableModel::getFileList() const
{
    std::lock_guard guard(lock);
    return visible;
}

QStringList FileTableModel::getFileList(const QList<int>& rows) const
{
    std::lock_guard guard(lock);
    QStringList out;
    for (int r : rows)
        if (r >= 0 && r < visible.size())
            out.append(visible[r]);
    return out;
}

QStringList FileTableModel::getUnfilteredFileList() const
{
    std::lock_guard guard(lock);
    return master;
}

int FileTableModel::getIndexOf(const QString& file) const
{
    std::lock_guard guard(lock);
    return int(visible.indexOf(file));
}

QList<int> FileTableModel::getIndicesOf(const QStringList& files) const
{
    std::lock_guard guard(lock);
    QHash<QString, int> rows;
    rows.reserve(visible.size());
    for (int i = int(visible.size()) - 1; i >= 0; --i)
        rows.insert(visible[i], i); // the first row of an entry listed twice
    QList<int> out;
    for (const QString& f : files) {
        const auto it = rows.constFind(f);
        if (it != rows.constEnd())
            out.append(*it);
    }
    return out;
}

std::optional<QString> FileTableModel::getFirstStartingWith(const QString& text) const
{
    const QString prefix = text.toUpper();
    std::lock_guard guard(lock);
    for (const QString& f : visible)
        if (QFileInfo(f).fileName().toUpper().startsWith(prefix))
            return f;
    return std::nullopt;
}

QString FileTableModel::getColumnName(int column)
{
    return column >= 0 && column < COLUMN_COUNT ? COLUMN_NAMES[column] : QString();
}

QMetaType::Type FileTableModel::getColumnClass(int column)
{
    switch (column) {
    case MODIFIED_COLUMN: return QMetaType::QDateTime;
    case SIZE_COLUMN: return QMetaType::LongLong;
    default: return QMetaType::QString;
    }
}

QVariant FileTableModel::valueOf(const QString& file, int column)
{
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    const QString name = slash >= 0 ? file.mid(slash + 1) : file;
    if (column == NAME_COLUMN)
        return name;
    if (column == PATH_COLUMN)
        return slash > 0 ? file.left(slash) : slash == 0 ? QStringLiteral("/") : QString();
    struct stat st;
    const bool exists = ::stat(QFile::encodeName(file).constData(), &st) == 0;
    switch (column) {
    case MODIFIED_COLUMN:
        return QDateTime::fromMSecsSinceEpoch(exists ? qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000 : 0);
    case SIZE_COLUMN:
        return qint64(exists ? st.st_size : 0);
    case TYPE_COLUMN: {
        if (exists && S_ISDIR(st.st_mode))
            return QStringLiteral("DIR");
        if (!exists || !S_ISREG(st.st_mode))
            return QStringLiteral("UNKNOWN");
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return dot >= 0 ? QStringLiteral("FILE (*") + name.mid(dot) + QLatin1Char(')') : QStringLiteral("FILE");
    }
    default:
        return {};
    }
}

QVariant FileTableModel::getValueAt(int row, int column) const
{
    const std::optional<QString> f = getFile(row);
    return f ? valueOf(*f, column) : QVariant();
}

void FileTableModel::sort(const QString& criterionName, bool descending, bool ignoreCase)
{
    sort(FileSortComparator::getIndexOf(criterionName), descending, ignoreCase);
}

void FileTableModel::sort(int criterion, bool descending, bool ignoreCase)
{
    busy(true);
    const FileSortComparator comparator(criterion, descending, ignoreCase);
    QStringList list = getUnfilteredFileList();
    comparator.sort(list);
    {
        std::lock_guard guard(lock);
        master = std::move(list);
        lastCriterion = criterion;
        lastDescending = descending;
    }
    rebuildAndAnnounce();
    busy(false);
}

void FileTableModel::resort()
{
    sort(lastSortCriterion(), lastSortDescending(), true);
}

int FileTableModel::lastSortCriterion() const
{
    std::lock_guard guard(lock);
    return lastCriterion;
}

bool FileTableModel::lastSortDescending() const
{
    std::lock_guard guard(lock);
    return lastDescending;
}

bool FileTableModel::addFilter(const TableFileNameFilter& filter)
{
    {
        std::lock_guard guard(lock);
        if (filters.contains(filter))
            return false;
    }
    busy(true);
    {
        std::lock_guard guard(lock);
        filters.append(filter);
    }
    rebuildAndAnnounce();
    busy(false);
    return true;
}

void FileTableModel::removeFilters(const QList<TableFileNameFilter>& gone)
{
    busy(true);
    {
        std::lock_guard guard(lock);
        filters.removeIf([&](const TableFileNameFilter& f) { return gone.contains(f); });
    }
    rebuildAndAnnounce();
    busy(false);
}

void FileTableModel::enableFilters(bool on)
{
    busy(true);
    {
        std::lock_guard guard(lock);
        for (TableFileNameFilter& f : filters)
            f.setEnabled(on);
    }
    busy(false);
}

void FileTableModel::setFilterEnabled(const TableFileNameFilter& filter, bool on)
{
    std::lock_guard guard(lock);
    for (TableFileNameFilter& f : filters)
        if (f == filter)
            f.setEnabled(on);
}

QList<TableFileNameFilter> FileTableModel::getFilters() const
{
    std::lock_guard guard(lock);
    return filters;
}

QList<TableFileNameFilter> FileTableModel::loadFilters(const QString& file)
{
    QString error;
    const std::optional<QList<ValueFile::Record>> records = ValueFile::readRecords(file, &error);
    QList<TableFileNameFilter> read;
    bool ok = records.has_value();
    if (ok) {
        for (const ValueFile::Record& r : *records) {
            const QString* text = r.size() == 5 ? std::get_if<QString>(&r[0]) : nullptr;
            const bool* include = text ? std::get_if<bool>(&r[1]) : nullptr;
            const qint32* position = text ? std::get_if<qint32>(&r[2]) : nullptr;
            const bool* caseSensitive = text ? std::get_if<bool>(&r[3]) : nullptr;
            if (!text || !include || !position || !caseSensitive || *position < 0 || *position > 2) {
                ok = false;
                error = file + QStringLiteral(": not a filter list");
                break;
            }
            TableFileNameFilter f(*text, *include, TableFileNameFilter::Position(*position), *caseSensitive, false);
            if (!read.contains(f))
                read.append(f);
        }
    }
    if (!ok) {
        Console::err(QStringLiteral("Unable to read the table filters: ") + error);
        read.clear();
    }
    {
        std::lock_guard guard(lock);
        filters = read;
    }
    return read;
}

bool FileTableModel::storeFilters(const QString& file) const
{
    QList<ValueFile::Record> records;
    for (const TableFileNameFilter& f : getFilters())
        records.append({f.getText(), f.isInclude(), qint32(f.getPosition()), f.isCaseSensitive(), f.isEnabled()});
    QString error;
    if (ValueFile::writeRecords(file, records, &error))
        return true;
    Console::err(QStringLiteral("Unable to write the table filters: ") + error);
    return false;
}

void FileTableModel::fireDataChangedEvent()
{
    rebuildAndAnnounce();
}

int FileTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown.size());
}

int FileTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant FileTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shown.size() || index.column() >= COLUMN_COUNT)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return valueOf(shown[index.row()], index.column());
    if (role == Qt::TextAlignmentRole)
        return index.column() == SIZE_COLUMN ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant FileTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= COLUMN_COUNT)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return COLUMN_NAMES[section];
    return {};
}

Qt::ItemFlags FileTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString FileTableModel::shownFile(int row) const
{
    return row >= 0 && row < shown.size() ? shown[row] : QString();
}

} // namespace zentrova
