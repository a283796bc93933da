#pragma once

#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QWidget;

namespace zentrova {

class FileTable;
class FileTableModel;
class FileTree;
class FileTreeModel;
class SlidePane;
class ThumbnailPanel;

// The main window's contents from the outside in: the row count strip, the split pane, the three views
// and the three tabs of the selected image.
struct MainViews {
    QWidget* central = nullptr;
    QLineEdit* jtfRowCount = nullptr;
    QSplitter* jspMain = nullptr;
    QTabWidget* jtpFileViews = nullptr;
    QTabWidget* jtpCurrentImage = nullptr;

    FileTable* fileTable = nullptr;
    QList<QPushButton*> letters;

    // "Tag View": laid out; its lists and commands come with the albums.
    QListWidget* albumTagList = nullptr;
    QLabel* albumNameLabel = nullptr;
    QListWidget* albumFileList = nullptr;
    QLabel* removeLabel = nullptr;

    FileTree* dateTree = nullptr;
    QPushButton* jbCollapseAll = nullptr;
    QPushButton* jbExpandToMonths = nullptr;
    QPushButton* jbExpandToDays = nullptr;
    QPushButton* jbExpandAll = nullptr;

    SlidePane* slidePane = nullptr;
    QLabel* dateLabel = nullptr;
    QLabel* sizeLabel = nullptr;
    ThumbnailPanel* thumbnail = nullptr;
    QListWidget* imageAlbumList = nullptr;
    QPlainTextEdit* jtaImageData = nullptr;

    void build(QWidget* owner, FileTableModel* table, FileTreeModel* tree);
};

} // namespace zentrova
