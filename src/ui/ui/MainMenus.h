#pragma once

#include <QList>
#include <QString>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace zentrova {

// The main window's menu bar and the popup menu of its views, every item with its text, order and kind.
// Items whose commands are not built yet are present and disabled (see disabledItems()).
struct MainMenus {
    QMenu* jmFile = nullptr;
    QMenu* jmActions = nullptr;
    QMenu* jmSlideShow = nullptr;
    QMenu* jmTableFilters = nullptr;
    QMenu* jmHelp = nullptr;
    QMenu* fileTableMenu = nullptr;

    QAction* jmiLoadImageFiles = nullptr;
    QAction* jmiImportZipfile = nullptr;
    QAction* jmiReload = nullptr;
    QAction* jmiGetTagsFromLoadedFiles = nullptr;
    QAction* jmiSelectStartDir = nullptr;
    QAction* jmiRemoveStartDir = nullptr;
    QAction* jmiReorganizeArchive = nullptr;
    QAction* jmiExit = nullptr;

    QList<QAction*> rotate;      // Actions > Rotate Image: clockwise, counter clockwise, 180
    QList<QAction*> popupRotate; // the same three in the popup
    QList<QAction*> slideDelays; // "1 second" ... "60 seconds"
    QList<QAction*> reloadIntervals; // "10 seconds" ... "10 minutes"
    QAction* jckbmiUseTransitions = nullptr;

    QAction* jmiAddTableFilter = nullptr;
    QAction* jmiRemoveSelectedFilters = nullptr;
    QAction* jmiRemoveUnselectedFilters = nullptr;
    QAction* filterSeparator = nullptr;

    QAction* jmiFullScreenHotKeys = nullptr;
    QAction* jmiSlideShowHotKeys = nullptr;
    QAction* jckbmiShowToolTips = nullptr;
    QAction* jckbmiLoggingOn = nullptr;
    QAction* jmiAbout = nullptr;

    QAction* jpmiDeleteSelected = nullptr;

    void build(QMenuBar* bar, QWidget* owner);
    // "Menu > Submenu > Item" of every disabled item, for the record of what is still to come.
    QStringList disabledItems() const;
};

} // namespace zentrova
