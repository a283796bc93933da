#pragma once

#include "event/BusyListener.h"
#include "models/TableFileNameFilter.h"
#include "ui/MainMenus.h"
#include "ui/MainViews.h"
#include "util/MainSettings.h"

#include <QFont>
#include <QMainWindow>
#include <QRect>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QAction;
class QMenu;

namespace zentrova {

class FileTableModel;
class FileTreeModel;
class ImageLoaderThread;
class LoadProgressWindow;
class ReloadThread;
class LoadQueue;
class Prompter;
class SplashDialog;

// The main window: the catalogue in the "File View", "Tag View" and "Date View" tabs, the selected image with
// its albums and data, the menus, loading and reloading. Loads run on the loader worker; the UI thread only
// takes over what the worker built.
class ZentrovaFrame : public QMainWindow, public BusyListener {
    Q_OBJECT
public:
    static inline const QString TITLE = QStringLiteral("Zentrova v1.3.4");
    static inline const QString PROGRAM_NAME = QStringLiteral("Zentrova Image Tool");
    static inline const QString VERSION = QStringLiteral("v1.3.4");
    static inline const QString MAKER = QStringLiteral("Zentrova developers");
    static inline const QString COPYRIGHT = QStringLiteral("2026");
    static inline const QString CREDIT = QStringLiteral("Photo organizer for JPEG and PNG folders");
    static constexpr int SPLASH_MS = 2000;

    // dir: the start-up folder (may be none). splashMs: how long each of the two splash logos shows.
    ZentrovaFrame(std::optional<QString> dir, Prompter* prompter, int splashMs = SPLASH_MS);
    ~ZentrovaFrame() override;

    // 90% of the screen each way (rounded), centred horizontally, top at a tenth of the height left over.
    static QRect placement(const QRect& screen);

    MainSettings& settings() { return props; }
    std::optional<QString> startFolder() const { return dir; }
    // The orderly end: the temporary folder emptied, the window closed, status 0.
    void exit();
    void jmiAbout_actionPerformed();
    QAction* findMenuItem(const QString& menu, const QString& item) const;

    FileTableModel& catalogue() { return *table; }
    FileTreeModel& dateTreeModel() { return *tree; }
    MainViews& views() { return v; }
    MainMenus& menus() { return m; }

    // Loading (the load dialog, one folder, a list of paths with the changed files to select afterwards).
    void loadImageFiles();
    void loadDir(const QString& folder, bool sort);
    void loadFiles(const QStringList& paths, bool sort) { loadFiles(paths, {}, sort); }
    void loadFiles(const QStringList& paths, const QStringList& changed, bool sort);
    static QStringList recurseDirectory(const QString& folder);
    void reload();
    QStringList getLastLoad() const;
    QString rootdir() const { return root; }
    // Blocks until every queued load has finished (tests).
    void waitForLoads();

    void loadSelectedImage(const std::optional<QString>& file);
    std::optional<QString> currentSelectedFile() const;
    void setBusy(bool busy) override;
    void handleException(const QString& message);
    void relocateDivider();
    void showNoSelectionMadeDialog();
    // The files selected in the view whose tab shows.
    QStringList currentViewSelection() const;

    void setDefaultLoadDirectory(bool ask);
    void removeDefaultLoadDirectory();
    // Runs once, when the window is first shown: load the start folder or ask what to load.
    void this_windowOpened();

    // Reloads with the files given as changed, so that they end up selected.
    void reload(const QStringList& changed);
    void jmiRotate90Clockwise_actionPerformed();
    void jmiRotate90CounterClockwise_actionPerformed();
    void jmiRotate180_actionPerformed();
    void jpmiDeleteSelected_actionPerformed();

    // The "Table Filters" menu.
    void jmiAddTableFilter_actionPerformed();
    void removeFilters(bool checkedOnes);
    void disableFilters();
    void checkFilterMenu();
    bool anyFilterChecked() const;
    QList<QAction*> filterItems() const { return filterActions; }
    // The auto-reload interval from the "Auto Reloading Interval" items ("10 seconds" also picks "1 second").
    void setAutoReloadInterval();
    qint64 autoReloadInterval() const { return reloadInterval; }
    // The reloader of an auto-reload slide show, if one runs.
    ReloadThread* getReloader() const { return reloader.load(); }
    void setReloader(ReloadThread* r) { reloader = r; }
    // Blocks a worker thread until every queued load has ended (never call it on the UI thread).
    void waitForLoadsToEnd() const;
    // What Escape does: end the process at once (tests put their own here).
    std::function<void()> exitSystem;
    LoadProgressWindow* loadProgress() const { return progressWindow; }

    // Runs the filter dialog with its preset text; tests put their own answer here.
    std::function<std::optional<TableFileNameFilter>(const QString&)> filterDialog;

    // Tool tips of the whole program on or off ("Show Tool Tips").
    static void setToolTipsEnabled(bool enabled);
    static bool toolTipsEnabled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void connectViews();
    void showSplash();
    void runLoad(const QStringList& paths, const QStringList& changed, bool sort);
    void showSelectionOfCurrentView();
    QAction* addFilterItem(const TableFileNameFilter& filter, bool checked);
    void filterItemToggled(QAction* item, bool checked);
    void restoreFilters();

    std::optional<QString> dir;
    Prompter* prompter;
    int splashMs;
    MainSettings props;
    bool exiting = false;
    bool opened = false;
    std::unique_ptr<FileTableModel> table;
    std::unique_ptr<FileTreeModel> tree;
    MainMenus m;
    MainViews v;
    QString root;
    QFont tableFont; // a copy the loader worker measures with
    mutable std::mutex stateLock;
    QStringList lastLoad;
    std::optional<QString> shownFile;
    std::atomic<int> busyDepth{0};
    std::unique_ptr<LoadQueue> loader;
    std::unique_ptr<ImageLoaderThread> imageLoader;
    QList<QAction*> filterActions;
    qint64 reloadInterval = 60000;
    std::atomic<ReloadThread*> reloader{nullptr};
    struct RowCount;
    std::unique_ptr<RowCount> rowCounter;
    std::atomic<int> helpers{0}; // detached workers that still use this window; the destructor waits for them
    LoadProgressWindow* progressWindow = nullptr;
};

} // namespace zentrova
