#pragma once

#include "event/BusyListener.h"
#include "event/ListenerList.h"
#include "event/TableLoadEvent.h"
#include "models/TableFileNameFilter.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <mutex>
#include <optional>

namespace zentrova {

// The one catalogue of loaded files: the master list in the current order, the visible list (the master
// list through the switched-on filters, in master order; rows refer to it), the filters and the last sort.
// Column values are read from the file system whenever they are asked for.
//
// Threads: the catalogue operations may run on a worker (the loader) while views on the UI thread paint.
// They change the lists under a lock and publish each new visible list to the views, which see it only
// inside a model reset on the model's own thread; so a view never reads a list that is being changed.
// The Qt side (rowCount, data) answers from that published list.
class FileTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NAME_COLUMN = 0, MODIFIED_COLUMN, SIZE_COLUMN, TYPE_COLUMN, PATH_COLUMN, COLUMN_COUNT };
    static const QStringList COLUMN_NAMES;

    explicit FileTableModel(QObject* parent = nullptr);

    void setFiles(const QStringList& files);
    void clear();
    void removeAll(const QStringList& files);
    void removeFile(const QList<int>& rows);
    void validate();

    int getRowCount() const;
    bool isEmpty() const;
    std::optional<QString> getFile(int row) const;
    QStringList getFileList() const;
    QStringList getFileList(const QList<int>& rows) const;
    QStringList getUnfilteredFileList() const;
    int getIndexOf(const QString& file) const;
    QList<int> getIndicesOf(const QStringList& files) const;
    std::optional<QString> getFirstStartingWith(const QString& text) const;

    QVariant getValueAt(int row, int column) const;
    static QVariant valueOf(const QString& file, int column);
    static QString getColumnName(int column);
    static QMetaType::Type getColumnClass(int column);
    int getColumnCount() const { return COLUMN_COUNT; }

    void sort(const QString& criterionName, bool descending, bool ignoreCase = true);
    void sort(int criterion, bool descending, bool ignoreCase = true);
    void resort();
    int lastSortCriterion() const;
    bool lastSortDescending() const;

    bool addFilter(const TableFileNameFilter& filter);
    void removeFilters(const QList<TableFileNameFilter>& filters);
    void enableFilters(bool on);
    // Switches the filters equal to this one; no rebuild (fireDataChangedEvent does that).
    void setFilterEnabled(const TableFileNameFilter& filter, bool on);
    QList<TableFileNameFilter> getFilters() const;
    // The filters read replace the model's; every one starts switched off. On failure the list is empty.
    QList<TableFileNameFilter> loadFilters(const QString& file);
    bool storeFilters(const QString& file) const;

    void fireDataChangedEvent();

    void addTableModelListener(FileTableModelListener* l) { tableListeners.add(l); }
    void removeTableModelListener(FileTableModelListener* l) { tableListeners.remove(l); }
    void addFileTableModelLoadListener(FileTableModelLoadListener* l) { loadListeners.add(l); }
    void removeFileTableModelLoadListener(FileTableModelLoadListener* l) { loadListeners.remove(l); }
    void addBusyListener(BusyListener* l) { busyListeners.add(l); }
    void removeBusyListener(BusyListener* l) { busyListeners.remove(l); }

    // The views' side: the visible list as last published to them.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QString shownFile(int row) const;
    const QStringList& shownFiles() const { return shown; }

private:
    void rebuildAndAnnounce();
    void publish();
    void busy(bool on);

    mutable std::mutex lock;
    QStringList master;
    QStringList visible;
    QList<TableFileNameFilter> filters;
    int lastCriterion = 0;
    bool lastDescending = false;

    QStringList shown; // touched on the model's thread only

    ListenerList<FileTableModelListener> tableListeners;
    ListenerList<FileTableModelLoadListener> loadListeners;
    ListenerList<BusyListener> busyListeners;
};

} // namespace zentrova
