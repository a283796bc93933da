#include "ui/ZentrovaFrame.h"

#include "app/ZentrovaMain.h"
#include "image/ExifTagUtil.h"
#include "image/ExivMetadata.h"
#include "image/ImageDateTime.h"
#include "image/ImageInfo.h"
#include "image/ImageProcessor.h"
#include "models/FileTableModel.h"
#include "models/FileTreeModel.h"
#include "table/DataSizedTableColumnModel.h"
#include "table/FileTable.h"
#include "thread/LoadQueue.h"
#include "thread/WorkerThread.h"
#include "tree/FileTree.h"
#include "ui/AboutDialog.h"
#include "table/TableFileNameFilterDialog.h"
#include "ui/DelayDialog.h"
#include "ui/FilterMenuStyle.h"
#include "ui/ImageLoaderThread.h"
#include "ui/LoadProgressWindow.h"
#include "ui/ReloadThread.h"
#include "ui/Resources.h"
#include "ui/SlidePane.h"
#include "ui/SplashDialog.h"
#include "ui/ThumbnailPanel.h"
#include "ui/UiThread.h"
#include "util/AppPaths.h"
#include "util/Console.h"
#include "util/DateText.h"
#include "util/FileUtil.h"
#include "util/Prompter.h"
#include "util/StartDir.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <atomic>
#include <cmath>

namespace zentrova {

// The row count field follows every change of the catalogue, from whichever thread made it.
struct ZentrovaFrame::RowCount : FileTableModelListener {
    explicit RowCount(QLineEdit* field) : field(field) {}
    void tableChanged(FileTableModel* model) override
    {
        const QString text = QString::number(model->getRowCount());
        onUiThread(field, [f = field, text] { f->setText(text); });
    }
    QLineEdit* field;
};

namespace {
std::atomic<bool> tipsOn{true};

// Swallows tool-tip events of every widget while tool tips are switched off.
class ToolTipFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && !tipsOn.load())
            return true;
        return QObject::eventFilter(watched, event);
    }
};

void waitWithEvents(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

void ZentrovaFrame::setToolTipsEnabled(bool enabled)
{
    static ToolTipFilter* filter = [] {
        auto* f = new ToolTipFilter(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
    tipsOn.store(enabled);
}

bool ZentrovaFrame::toolTipsEnabled()
{
    return tipsOn.load();
}

QRect ZentrovaFrame::placement(const QRect& screen)
{
    const int w = static_cast<int>(std::lround(screen.width() * 0.9));
    const int h = static_cast<int>(std::lround(screen.height() * 0.9));
    return QRect(screen.x() + (screen.width() - w) / 2, screen.y() + (screen.height() - h) / 10, w, h);
}

ZentrovaFrame::ZentrovaFrame(std::optional<QString> startDir, Prompter* p, int splash)
    : dir(std::move(startDir)), prompter(p), splashMs(splash), table(std::make_unique<FileTableModel>()),
      tree(std::make_unique<FileTreeModel>(table.get()))
{
    setObjectName(QStringLiteral("ZentrovaFrame"));
    if (dir)
        root = *dir;
    props.loadProps();
    setWindowTitle(TITLE);
    buildMenus();
    v.build(this, table.get(), tree.get());
    setCentralWidget(v.central);
    tableFont = v.fileTable->font();
    // The first load enables them. Disabled last to first, so the current tab stays the first.
    for (int i = 2; i >= 0; --i)
        v.jtpFileViews->setTabEnabled(i, false);
    connectViews();
    restoreFilters();
    progressWindow = new LoadProgressWindow(this);
    tree->setProgressBar(progressWindow);
    for (QAction* item : m.reloadIntervals)
        connect(item, &QAction::triggered, this, &ZentrovaFrame::setAutoReloadInterval);
    loader = std::make_unique<LoadQueue>(QStringLiteral("ZentrovaFrame-loadFiles_0"));
    imageLoader = std::make_unique<ImageLoaderThread>([this](const QString& f) { loadSelectedImage(f); });
    imageLoader->start();
    // Escape ends the program at once, whatever has the focus; the next start empties the temporary folder.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    exitSystem = [] { ZentrovaMain::exitNow(0); };
    connect(escape, &QShortcut::activated, this, [this] { exitSystem(); });
    const QString logging = props.valueOr(MainSettings::LOGGING, QString());
    m.jckbmiLoggingOn->setChecked(logging.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
    const QImage& icon = Resources::iconImage();
    if (!icon.isNull())
        setWindowIcon(QPixmap::fromImage(icon));
    Resources::logoImage();
    setGeometry(placement(QGuiApplication::primaryScreen()->geometry()));
    showSplash();
}

ZentrovaFrame::~ZentrovaFrame()
{
    table->removeTableModelListener(rowCounter.get());
    imageLoader.reset();
    while (helpers.load() > 0)
        QThread::msleep(2);
    loader.reset();
    v.slidePane->waitForTransition();
    AppPaths::cleanTmpDir();
}

void ZentrovaFrame::showSplash()
{
    SplashDialog splash(QStringLiteral("Zentrova"), QStringLiteral("Copyright \u00a9 ") + COPYRIGHT + QLatin1Char(' ') + MAKER,
                        QStringLiteral("Zentrova_logo_400x400.png"));
    splash.showCentred();
    waitWithEvents(splashMs);
    splash.setLogo(QStringLiteral("tolvexlogo.png"));
    waitWithEvents(splashMs);
    splash.close();
}

void ZentrovaFrame::buildMenus()
{
    m.build(menuBar(), this);
    connect(m.jckbmiShowToolTips, &QAction::toggled, this, [](bool on) { setToolTipsEnabled(on); });
    connect(m.jckbmiLoggingOn, &QAction::triggered, this, [this](bool on) {
        props.setValue(MainSettings::LOGGING, on ? QStringLiteral("true") : QStringLiteral("false"));
    });
    connect(m.jmiAbout, &QAction::triggered, this, &ZentrovaFrame::jmiAbout_actionPerformed);
    connect(m.jmiLoadImageFiles, &QAction::triggered, this, &ZentrovaFrame::loadImageFiles);
    connect(m.jmiReload, &QAction::triggered, this, [this] { reload(); });
    connect(m.jmiSelectStartDir, &QAction::triggered, this, [this] { setDefaultLoadDirectory(true); });
    connect(m.jmiRemoveStartDir, &QAction::triggered, this, &ZentrovaFrame::removeDefaultLoadDirectory);
    connect(m.jmiExit, &QAction::triggered, this, &ZentrovaFrame::exit);
    for (const QList<QAction*>& items : {m.rotate, m.popupRotate}) {
        connect(items[0], &QAction::triggered, this, &ZentrovaFrame::jmiRotate90Clockwise_actionPerformed);
        connect(items[1], &QAction::triggered, this, &ZentrovaFrame::jmiRotate90CounterClockwise_actionPerformed);
        connect(items[2], &QAction::triggered, this, &ZentrovaFrame::jmiRotate180_actionPerformed);
    }
    connect(m.jpmiDeleteSelected, &QAction::triggered, this, &ZentrovaFrame::jpmiDeleteSelected_actionPerformed);
    connect(m.jmiAddTableFilter, &QAction::triggered, this, &ZentrovaFrame::jmiAddTableFilter_actionPerformed);
    connect(m.jmiRemoveSelectedFilters, &QAction::triggered, this, [this] { removeFilters(true); });
    connect(m.jmiRemoveUnselectedFilters, &QAction::triggered, this, [this] { removeFilters(false); });
    auto* style = new FilterMenuStyle(
        [this](const QString& text) {
            return std::any_of(filterActions.begin(), filterActions.end(), [&](QAction* a) { return a->text() == text; });
        },
        [this] { return anyFilterChecked(); });
    style->setParent(this);
    menuBar()->setStyle(style);
    m.jmTableFilters->setStyle(style);
    filterDialog = [this](const QString& preset) -> std::optional<TableFileNameFilter> {
        TableFileNameFilterDialog dialog(preset, this);
        dialog.exec();
        if (!dialog.isInitialized())
            return std::nullopt;
        return dialog.filter();
    };
    // Ctrl+R reloads whatever has the focus in the window.
    auto* reloadFiles = new QAction(this);
    reloadFiles->setObjectName(QStringLiteral("reloadFiles"));
    reloadFiles->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    reloadFiles->setShortcutContext(Qt::WindowShortcut);
    connect(reloadFiles, &QAction::triggered, this, [this] { reload(); });
    addAction(reloadFiles);
}

void ZentrovaFrame::connectViews()
{
    rowCounter = std::make_unique<RowCount>(v.jtfRowCount);
    table->addTableModelListener(rowCounter.get());

    for (QPushButton* letter : v.letters)
        connect(letter, &QPushButton::clicked, this, [this, letter] {
            if (const std::optional<QString> f = table->getFirstStartingWith(letter->text()))
                v.fileTable->setSelectedFile(*f);
        });
    // Selection to the image: only the view whose tab shows, and only settled selections.
    connect(v.fileTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (v.jtpFileViews->currentIndex() != 0)
            return;
        const QString f = table->shownFile(current.row());
        if (f.isEmpty())
            loadSelectedImage(std::nullopt);
        else
            imageLoader->loadFile(f);
    });
    connect(v.dateTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (v.jtpFileViews->currentIndex() != 2)
            return;
        if (const std::optional<QString> f = FileDateTreeRoot::fileOf(tree->nodeOf(current)); f && current.isValid())
            imageLoader->loadFile(*f);
        else
            loadSelectedImage(std::nullopt);
    });
    connect(v.jtpFileViews, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            showSelectionOfCurrentView();
    });
    v.slidePane->installEventFilter(this);
    v.fileTable->viewport()->installEventFilter(this);
    connect(v.dateTree, &FileTree::popupRequested, this, [this](const QPoint& at) { m.fileTableMenu->popup(at); });
    connect(v.fileTable->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int column) {
        static QMap<QString, bool> lastSortMap;
        const QString name = FileTableModel::getColumnName(column);
        setBusy(true);
        const QStringList selected = v.fileTable->getSelectedFiles();
        const bool descending = lastSortMap.value(name, false);
        table->sort(name, descending);
        lastSortMap[name] = !descending;
        if (!selected.isEmpty())
            v.fileTable->setSelectedFiles(selected);
        setBusy(false);
    });
}

bool ZentrovaFrame::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress, release = event->type() == QEvent::MouseButtonRelease;
    if (watched == v.slidePane && (press || release)) {
        // Pressing zooms at the point, releasing ends the zoom.
        v.slidePane->zoomTo(press ? std::optional<QPoint>(static_cast<QMouseEvent*>(event)->position().toPoint()) : std::nullopt);
        return true;
    }
    if (press && (watched == v.fileTable->viewport()) && static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
        m.fileTableMenu->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ZentrovaFrame::jmiRotate90Clockwise_actionPerformed()
{
    const QStringList files = currentViewSelection();
    if (files.isEmpty())
        return showNoSelectionMadeDialog();
    for (const QString& f : files)
        ImageProcessor::rotateImage90Degrees(f, true);
    reload(files);
}

void ZentrovaFrame::jmiRotate90CounterClockwise_actionPerformed()
{
    const QStringList files = currentViewSelection();
    if (files.isEmpty())
        return showNoSelectionMadeDialog();
    for (const QString& f : files)
        ImageProcessor::rotateImage90Degrees(f, false);
    reload();
}

void ZentrovaFrame::jmiRotate180_actionPerformed()
{
    const QStringList files = currentViewSelection();
    if (files.isEmpty())
        return showNoSelectionMadeDialog();
    for (const QString& f : files)
        ImageProcessor::rotateImage180Degrees(f);
    reload(files);
}

void ZentrovaFrame::jpmiDeleteSelected_actionPerformed()
{
    switch (v.jtpFileViews->currentIndex()) {
    case 0: v.fileTable->deleleSeleted(false); break;
    case 2: v.dateTree->deleleSeleted(false); break;
    default: break;
    }
}

void ZentrovaFrame::reload(const QStringList& changed)
{
    const QStringList last = getLastLoad();
    if (last.isEmpty())
        return;
    setBusy(true);
    ++helpers;
    WorkerThread::startDetached(QStringLiteral("ZentrovaFrame-reload_0"), [this, last, changed] {
        loadFiles(last, changed, false);
        setBusy(false);
        --helpers;
    });
}

void ZentrovaFrame::restoreFilters()
{
    if (!QFileInfo::exists(AppPaths::MODEL_FILTER_FILE))
        return;
    for (const TableFileNameFilter& f : table->loadFilters(AppPaths::MODEL_FILTER_FILE))
        addFilterItem(f, false);
    checkFilterMenu();
}

QAction* ZentrovaFrame::addFilterItem(const TableFileNameFilter& filter, bool checked)
{
    if (filterActions.isEmpty())
        m.filterSeparator = m.jmTableFilters->addSeparator();
    QAction* item = m.jmTableFilters->addAction(filter.getDescription());
    item->setCheckable(true);
    item->setChecked(checked);
    QFont f = item->font();
    f.setBold(true);
    f.setPointSize(TableFileNameFilter::MENU_ITEM_POINT_SIZE);
    item->setFont(f);
    connect(item, &QAction::toggled, this, [this, item](bool on) { filterItemToggled(item, on); });
    filterActions << item;
    return item;
}

void ZentrovaFrame::jmiAddTableFilter_actionPerformed()
{
    if (table->getRowCount() == 0)
        return;
    const std::optional<QString> selected = v.fileTable->getSelectedFile();
    const std::optional<TableFileNameFilter> chosen = filterDialog(selected ? QFileInfo(*selected).fileName() : QString());
    if (!chosen)
        return;
    TableFileNameFilter filter = *chosen;
    filter.setEnabled(true);
    if (!table->addFilter(filter)) {
        if (prompter)
            prompter->showMessage(MessageType::Information, QStringLiteral("Message"), QStringLiteral("Table already has this filter on it"));
        return;
    }
    addFilterItem(filter, true);
    table->storeFilters(AppPaths::MODEL_FILTER_FILE);
    checkFilterMenu();
}

void ZentrovaFrame::filterItemToggled(QAction* item, bool on)
{
    for (const TableFileNameFilter& f : table->getFilters())
        if (f.getDescription() == item->text())
            table->setFilterEnabled(f, on);
    table->fireDataChangedEvent();
    if (table->getRowCount() > 0)
        v.fileTable->setSelection(0);
    table->storeFilters(AppPaths::MODEL_FILTER_FILE);
    checkFilterMenu();
}

void ZentrovaFrame::removeFilters(bool checkedOnes)
{
    if (table->getFilters().isEmpty())
        return;
    QList<TableFileNameFilter> gone;
    for (QAction* item : QList<QAction*>(filterActions)) {
        if (item->isChecked() != checkedOnes)
            continue;
        for (const TableFileNameFilter& f : table->getFilters())
            if (f.getDescription() == item->text())
                gone << f;
        filterActions.removeOne(item);
        m.jmTableFilters->removeAction(item);
        item->deleteLater();
    }
    table->removeFilters(gone);
    if (filterActions.isEmpty() && m.filterSeparator) {
        m.jmTableFilters->removeAction(m.filterSeparator);
        m.filterSeparator = nullptr;
    }
    table->storeFilters(AppPaths::MODEL_FILTER_FILE);
    checkFilterMenu();
}

void ZentrovaFrame::disableFilters()
{
    table->enableFilters(false);
    onUiThread(this, [this] {
        for (QAction* item : filterActions) {
            const QSignalBlocker quiet(item); // the model is already switched off and the load rebuilds
            item->setChecked(false);
        }
        checkFilterMenu();
    });
}

bool ZentrovaFrame::anyFilterChecked() const
{
    return std::any_of(filterActions.begin(), filterActions.end(), [](QAction* a) { return a->isChecked(); });
}

void ZentrovaFrame::checkFilterMenu()
{
    menuBar()->update();
}

void ZentrovaFrame::showSelectionOfCurrentView()
{
    const QStringList selected = currentViewSelection();
    if (selected.isEmpty())
        loadSelectedImage(std::nullopt);
    else
        imageLoader->loadFile(selected.first());
}

QStringList ZentrovaFrame::currentViewSelection() const
{
    switch (v.jtpFileViews->currentIndex()) {
    case 0: return v.fileTable->getSelectedFiles();
    case 2: return v.dateTree->getSelectedFiles();
    default: return {}; // the album file list arrives with the albums
    }
}

void ZentrovaFrame::showNoSelectionMadeDialog()
{
    if (prompter)
        prompter->showMessage(MessageType::Information, QStringLiteral("No Selection Made Dialog..."),
                              QStringLiteral("No selections made in the list"));
}

void ZentrovaFrame::setBusy(bool busy)
{
    onUiThread(this, [this, busy] {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
}

void ZentrovaFrame::handleException(const QString& message)
{
    if (prompter)
        prompter->showMessage(MessageType::Error, QStringLiteral("ERROR!!!"), message);
}

void ZentrovaFrame::relocateDivider()
{
    const int tableWidth = v.fileTable->horizontalHeader()->length() + v.fileTable->frameWidth() * 2 + 24;
    const int position = std::min(tableWidth, v.jspMain->width() - 400);
    v.jspMain->setSizes({std::max(position, 0), std::max(v.jspMain->width() - position, 400)});
}

void ZentrovaFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    relocateDivider();
}

void ZentrovaFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!opened) {
        opened = true;
        QTimer::singleShot(0, this, &ZentrovaFrame::this_windowOpened);
    }
}

void ZentrovaFrame::this_windowOpened()
{
    if (const std::optional<QString> start = StartDir::loadStartDir()) {
        loadDir(*start, true);
        return;
    }
    if (!prompter)
        return;
    const int answer = prompter->chooseOption(
        QStringLiteral("Load Images Dialog..."),
        QStringLiteral("You have no default directory set. Would you like to load some\nimages now and set the directory as the default? Or just load a\ndirectory of images?"),
        MessageType::Question,
        {QStringLiteral("Load and set as default"), QStringLiteral("Just load a directory"), QStringLiteral("Ignore and do nothing")}, 1);
    if (answer == 0)
        setDefaultLoadDirectory(false);
    else if (answer == 1)
        loadImageFiles();
}

void ZentrovaFrame::setDefaultLoadDirectory(bool ask)
{
    if (!prompter)
        return;
    ChooserRequest request;
    request.title = QStringLiteral("Choose a default directory to load when starting");
    request.mode = ChooserMode::Folders;
    request.startFolder = QDir::homePath();
    const std::optional<PromptAnswer> chosen = prompter->choose(request);
    if (!chosen || chosen->files.isEmpty())
        return;
    const QString folder = chosen->files.first();
    StartDir::setStartUpDir(folder);
    StartDir::storeStartDir();
    if (!ask) {
        loadDir(folder, true);
        return;
    }
    if (prompter->confirm(QStringLiteral("Load New Startup Directory?"),
                          QStringLiteral("Default Startup directory has been set.\nWould you like to load it now?"), Prompt::Buttons::YesNo)
        == Prompter::YES)
        loadDir(folder, true);
}

void ZentrovaFrame::removeDefaultLoadDirectory()
{
    if (!QFileInfo::exists(AppPaths::STARTDIR_FILE))
        return;
    if (!QFile::remove(AppPaths::STARTDIR_FILE)) {
        if (prompter)
            prompter->showMessage(MessageType::Error, QStringLiteral("Message"), QStringLiteral("Cannot delete file: ") + AppPaths::STARTDIR_FILE);
        return;
    }
    if (prompter)
        prompter->showNotice(QStringLiteral("Default startup directory removed"), 1000);
}

void ZentrovaFrame::loadImageFiles()
{
    if (!prompter)
        return;
    ChooserRequest request;
    request.title = QStringLiteral("Select a directory or image to load");
    request.mode = ChooserMode::FilesAndFolders;
    request.multiSelection = true;
    request.startFolder = props.valueOr(MainSettings::LASTDIR, QDir::homePath());
    request.filters = {FileFilter{QStringLiteral("Supported image files"), {"*.jpg", "*.jpeg", "*.png", "*.JPG", "*.JPEG", "*.PNG"}}};
    const QString lastFile = props.valueOr(MainSettings::LASTFILE, QString());
    if (!lastFile.isEmpty() && QFileInfo(lastFile).isDir())
        request.preselect = {lastFile};
    const std::optional<PromptAnswer> chosen = prompter->choose(request);
    if (!chosen || chosen->files.isEmpty())
        return;
    root = chosen->folder;
    props.setValue(MainSettings::LASTDIR, QFileInfo(chosen->folder).absoluteFilePath());
    props.setValue(MainSettings::LASTFILE, QFileInfo(chosen->files.first()).absoluteFilePath());
    loadFiles(chosen->files, true);
}

void ZentrovaFrame::loadDir(const QString& folder, bool sort)
{
    const QFileInfo info(folder);
    if (info.isDir() && info.isReadable())
        loadFiles({info.absoluteFilePath()}, sort);
}

QStringList ZentrovaFrame::recurseDirectory(const QString& folder)
{
    QStringList out;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Unsorted);
    for (const QFileInfo& e : entries) {
        if (e.isDir()) {
            if (e.fileName() != QLatin1String("errored"))
                out += recurseDirectory(e.absoluteFilePath());
            continue;
        }
        const QString lower = e.fileName().toLower();
        if (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg")) || lower.endsWith(QLatin1String(".png")))
            out.append(e.absoluteFilePath());
    }
    return out;
}

QStringList ZentrovaFrame::getLastLoad() const
{
    std::lock_guard guard(stateLock);
    return lastLoad;
}

void ZentrovaFrame::waitForLoads()
{
    while (loader->busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

void ZentrovaFrame::waitForLoadsToEnd() const
{
    while (loader->busy())
        QThread::msleep(5);
}

void ZentrovaFrame::loadFiles(const QStringList& paths, const QStringList& changed, bool sort)
{
    {
        std::lock_guard guard(stateLock);
        lastLoad = paths;
    }
    setBusy(true);
    progressWindow->showCentred();
    loader->enqueue([this, paths, changed, sort] { runLoad(paths, changed, sort); });
}

// The loader worker's part of a load: everything that grows with the number of files happens here.
void ZentrovaFrame::runLoad(const QStringList& paths, const QStringList& changed, bool sort)
{
    onUiThread(this, [this] {
        for (int i = 2; i >= 0; --i) // last to first: the current tab stays where it is
            if (i != v.jtpFileViews->currentIndex())
                v.jtpFileViews->setTabEnabled(i, false);
        v.jtpFileViews->setTabEnabled(v.jtpFileViews->currentIndex(), false);
    });
    disableFilters();
    table->clear();
    QStringList files;
    for (const QString& p : paths)
        files += QFileInfo(p).isDir() ? recurseDirectory(p) : QStringList{p};
    table->setFiles(files);
    if (sort)
        table->sort(QStringLiteral("NAME"), false, true);
    // Measuring every value for the column sizes reads the file system for each row: here, not on the UI thread.
    const QList<int> widths = DataSizedTableColumnModel::measure(tableFont, table->getFileList());
    onUiThread(this, [this, changed, widths] {
        for (int i = 0; i < 3; ++i)
            v.jtpFileViews->setTabEnabled(i, true);
        if (v.jtpFileViews->currentIndex() < 0)
            v.jtpFileViews->setCurrentIndex(0);
        DataSizedTableColumnModel::applyWidths(v.fileTable, widths);
        if (v.fileTable->getRowCount() > 0)
            v.fileTable->setSelection(0);
        relocateDivider();
        if (!changed.isEmpty()) {
            v.fileTable->setSelectedRows(changed);
            v.dateTree->setSelectedFiles(changed);
        }
    });
    ExifTagUtil::fireTagListEvent();
    if (files.isEmpty())
        onUiThread(progressWindow, [w = progressWindow] { w->hide(); });
    ExifTagUtil::loadTagsFromFiles(files);
    setBusy(false);
}

void ZentrovaFrame::setAutoReloadInterval()
{
    static const qint64 intervals[] = {10000, 30000, 60000, 300000, 600000};
    reloadInterval = 60000;
    for (int i = 0; i < m.reloadIntervals.size(); ++i)
        if (m.reloadIntervals[i]->isChecked()) {
            reloadInterval = intervals[i];
            if (i == 0)
                m.slideDelays[0]->setChecked(true); // applied to a running slide show's timer once there is one
            break;
        }
    if (ReloadThread* r = getReloader())
        r->setDelay(reloadInterval);
}

void ZentrovaFrame::reload()
{
    const QStringList last = getLastLoad();
    if (last.isEmpty())
        return;
    const int view = v.jtpFileViews->currentIndex();
    const QStringList selected = currentViewSelection();
    const int criterion = table->lastSortCriterion();
    const bool descending = table->lastSortDescending();
    setBusy(true);
    {
        std::lock_guard guard(stateLock);
        lastLoad = last;
    }
    loader->enqueue([this, last, view, selected, criterion, descending] {
        runLoad(last, {}, false);
        table->sort(criterion, descending, true);
        onUiThread(this, [this, view, selected] {
            if (selected.isEmpty())
                return;
            if (view == 0)
                v.fileTable->setSelectedFiles(selected);
            else if (view == 2)
                v.dateTree->setSelectedFiles(selected);
        });
        setBusy(false);
    });
}

std::optional<QString> ZentrovaFrame::currentSelectedFile() const
{
    std::lock_guard guard(stateLock);
    return shownFile;
}

void ZentrovaFrame::loadSelectedImage(const std::optional<QString>& file)
{
    {
        std::lock_guard guard(stateLock);
        shownFile = file;
    }
    setBusy(true);
    v.slidePane->setFile(file);
    onUiThread(v.thumbnail, [t = v.thumbnail, file] { t->setFile(file); });
    if (!file || !QFileInfo::exists(*file)) {
        onUiThread(this, [this] {
            v.dateLabel->clear();
            v.sizeLabel->clear();
            v.jtaImageData->clear();
            v.imageAlbumList->clear();
        });
        setBusy(false);
        return;
    }
    const QString f = *file;
    ++helpers;
    WorkerThread::startDetached(QString(), [this, f] {
        const std::optional<ImageInfo> info = ImageInfo::read(f);
        const ImageDateTime when(f);
        const QString date = when.isValid() ? when.getDateTimeString(ImageDateTime::Style::LONG, ImageDateTime::Style::MEDIUM).value_or(QString())
                                            : DateText::format(FileUtil::modificationTime(f));
        QStringList items;
        QString error;
        ExivMetadata::readItems(f, &items, &error);
        QString text = QStringLiteral("Metadata:\n");
        for (const QString& item : items)
            text += item + QLatin1Char('\n');
        if (info)
            text += info->toString();
        const QStringList albums = ExifTagUtil::getAlbumTags(f);
        const QString size = info ? QStringLiteral("%1 x %2").arg(info->width).arg(info->height) : QString();
        onUiThread(this, [this, f, date, text, albums, size] {
            if (currentSelectedFile() != f)
                return; // a newer selection took over
            v.dateLabel->setText(date);
            v.imageAlbumList->clear();
            v.imageAlbumList->addItems(albums);
            v.sizeLabel->setText(size);
            v.jtaImageData->setPlainText(text);
            v.jtaImageData->moveCursor(QTextCursor::Start);
        });
        setBusy(false);
        --helpers;
    });
}

QAction* ZentrovaFrame::findMenuItem(const QString& menu, const QString& item) const
{
    for (QAction* top : menuBar()->actions()) {
        if (top->text() != menu || !top->menu())
            continue;
        for (QAction* a : top->menu()->actions())
            if (a->text() == item)
                return a;
    }
    return nullptr;
}

void ZentrovaFrame::jmiAbout_actionPerformed()
{
    auto* about = new AboutDialog(this, MAKER, {CREDIT}, COPYRIGHT, PROGRAM_NAME, VERSION, Resources::logoImage());
    about->showCentred();
}

void ZentrovaFrame::exit()
{
    if (exiting)
        return;
    exiting = true;
    AppPaths::cleanTmpDir();
    close();
    QCoreApplication::exit(0);
}

void ZentrovaFrame::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!exiting)
        exit();
}

} // namespace zentrova
