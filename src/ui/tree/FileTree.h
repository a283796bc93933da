#pragma once

#include "event/BusyListener.h"
#include "event/SelectableFileComponent.h"
#include "tree/ETree.h"

namespace zentrova {

// The "Date View" tree: years, months, days, files. Several separate paths may be selected; only file
// leaves count as selected files. Delete asks before deleting, Shift+Delete does not; Enter or a double
// click on a file asks for the full-screen viewer.
class FileTree : public ETree, public SelectableFileComponent, public FileDeleteComponent, public BusyListener {
    Q_OBJECT
public:
    static constexpr int ROW_PADDING = 6;
    static constexpr int BORDER = 10;

    explicit FileTree(QWidget* parent = nullptr);

    std::optional<QString> getSelectedFile() const override;
    QStringList getSelectedFiles() const override;
    void setSelectedFile(const QString& file) override;
    void setSelectedFiles(const QStringList& files) override;
    void setSelected(const QStringList& files) { setSelectedFiles(files); }
    bool requestFocusInWindow() override { return false; }
    void deleleSeleted(bool askFirst) override;
    void setBusy(bool busy) override;

    std::optional<QString> getNextFile(const QString& file) const;
    std::optional<QString> getPrevFile(const QString& file) const;
    std::optional<TreePath> getPathFor(const QString& file) const;

    // What the tab's four buttons do: "Collapse All", "Months", "Days", "Expand All".
    void showYears();
    void showMonths();
    void showDays();
    void showAllFiles();

signals:
    void fullScreenRequested();
    void popupRequested(const QPoint& globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace zentrova
