#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova {

// What the main window asks of each of its views.
class SelectableFileComponent {
public:
    virtual ~SelectableFileComponent() = default;
    virtual std::optional<QString> getSelectedFile() const = 0;
    virtual QStringList getSelectedFiles() const = 0;
    virtual void setSelectedFile(const QString& file) = 0;
    virtual void setSelectedFiles(const QStringList& files) = 0;
    virtual bool requestFocusInWindow() = 0;
};

// A view that shows the files as rows.
class SelectableFileList : public SelectableFileComponent {
public:
    virtual void setSelection(int row) = 0;
    virtual int getSelection() const = 0; // -1 without a selection
    virtual std::optional<QString> getFile(int row) const = 0;
    virtual int getIndexOf(const QString& file) const = 0;
    virtual int getRowCount() const = 0;
};

// A view that deletes its selected files from the disk and the catalogue, asking first or not.
class FileDeleteComponent {
public:
    virtual ~FileDeleteComponent() = default;
    virtual void deleleSeleted(bool askFirst) = 0;
};

} // namespace zentrova
