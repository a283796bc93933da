#pragma once

#include "data/FileDateTreeRoot.h"
#include "event/BusyListener.h"
#include "event/TableLoadEvent.h"

#include <QAbstractItemModel>

#include <memory>
#include <mutex>

namespace zentrova {

class FileTableModel;
class ProgressTarget;

// The date tree over the catalogue's visible list, rebuilt from scratch on every change of the catalogue,
// on the thread that changed it. A finished root replaces the old one in one step; the views see it only
// inside a model reset on the model's own thread, so they never read a root that is being built.
class FileTreeModel : public QAbstractItemModel, public FileTableModelListener {
    Q_OBJECT
public:
    explicit FileTreeModel(FileTableModel* table, QObject* parent = nullptr);
    ~FileTreeModel() override;

    void setTree(BusyListener* view) { tree = view; }
    void setProgressBar(ProgressTarget* bar);
    void removeFiles(const QStringList& files);
    FileTableModel* fileTableModel() const { return table; }

    // The root the views show (UI thread), and the newest built (any thread).
    const FileDateTreeRoot& root() const { return *shown; }
    std::shared_ptr<const FileDateTreeRoot> latestRoot() const;

    CustomTreeNode* nodeOf(const QModelIndex& index) const;
    QModelIndex indexFor(const CustomTreeNode* node) const;

    void tableChanged(FileTableModel* model) override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A new root is shown (after the reset, on the model's thread).
    void rebuilt();

private:
    void publish();
    FileTableModel* table;
    BusyListener* tree = nullptr;
    ProgressTarget* progress = nullptr;
    mutable std::mutex lock;
    std::shared_ptr<FileDateTreeRoot> latest;
    std::shared_ptr<FileDateTreeRoot> shown; // the model's thread only
};

} // namespace zentrova
