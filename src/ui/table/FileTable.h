#pragma once

#include "event/BusyListener.h"
#include "event/ListenerList.h"
#include "event/SelectableFileComponent.h"

#include <QTableView>

namespace zentrova {

class FileTableModel;

// The "File View": the catalogue as a table. Delete asks before deleting the selected files, Shift+Delete
// does not.
class FileTable : public QTableView, public SelectableFileList, public FileDeleteComponent {
    Q_OBJECT
public:
    static inline const QString WRONG_MODEL = QStringLiteral("Table model needs to be and instance of ");

    explicit FileTable(QWidget* parent = nullptr);
    // Refuses any model but a FileTableModel; the refusal's message goes to *error and the error output.
    bool setFileTableModel(QAbstractItemModel* model, QString* error = nullptr);
    void setModel(QAbstractItemModel* model) override;
    FileTableModel* fileTableModel() const { return catalogue; }

    std::optional<QString> getSelectedFile() const override;
    QStringList getSelectedFiles() const override;
    void setSelectedFile(const QString& file) override;
    void setSelectedFiles(const QStringList& files) override;
    // Selects the visible ones among the files, scrolled so the topmost selected row shows.
    void setSelectedRows(const QStringList& files);
    bool requestFocusInWindow() override;

    void setSelection(int row) override;
    int getSelection() const override;
    std::optional<QString> getFile(int row) const override;
    int getIndexOf(const QString& file) const override;
    int getRowCount() const override;

    void deleleSeleted(bool askFirst) override;

    void setBusy(bool busy);
    void addBusyListener(BusyListener* l) { busyListeners.add(l); }
    void removeBusyListener(BusyListener* l) { busyListeners.remove(l); }

    using QTableView::setSelection;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitRowHeight();
    void selectOnly(int row);
    QList<int> rowsOf(const QStringList& files) const; // the shown rows of the files, skipping hidden ones
    FileTableModel* catalogue = nullptr;
    ListenerList<BusyListener> busyListeners;
};

} // namespace zentrova
