#include "ui/MainMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace zentrova {

namespace {

// An item whose command arrives with a later part of the program.
QAction* later(QMenu* menu, const QString& text)
{
    QAction* a = menu->addAction(text);
    a->setEnabled(false);
    return a;
}

QList<QAction*> radioGroup(QMenu* menu, const QStringList& texts, const QString& checked, QWidget* owner)
{
    auto* group = new QActionGroup(owner);
    group->setExclusive(true);
    QList<QAction*> out;
    for (const QString& t : texts) {
        QAction* a = menu->addAction(t);
        a->setCheckable(true);
        a->setChecked(t == checked);
        group->addAction(a);
        out << a;
    }
    return out;
}

QList<QAction*> rotateItems(QMenu* menu)
{
    QMenu* sub = menu->addMenu(QStringLiteral("Rotate Image"));
    return {sub->addAction(QStringLiteral("90 degrees clockwise")), sub->addAction(QStringLiteral("90 degrees counter clockwise")),
            sub->addAction(QStringLiteral("180 degrees"))};
}

void collectDisabled(const QMenu* menu, const QString& prefix, QStringList* out)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        const QString name = prefix + QStringLiteral(" > ") + a->text();
        if (a->menu())
            collectDisabled(a->menu(), name, out);
        else if (!a->isEnabled())
            out->append(name);
    }
}

} // namespace

void MainMenus::build(QMenuBar* bar, QWidget* owner)
{
    jmFile = bar->addMenu(QStringLiteral("File"));
    jmiLoadImageFiles = jmFile->addAction(QStringLiteral("Load Image Files"));
    jmiImportZipfile = later(jmFile, QStringLiteral("Import Zipfile"));
    jmFile->addSeparator();
    jmiReload = jmFile->addAction(QStringLiteral("Reload Files"));
    jmiGetTagsFromLoadedFiles = later(jmFile, QStringLiteral("Get Tags From Loaded Files"));
    jmFile->addSeparator();
    QMenu* startDir = jmFile->addMenu(QStringLiteral("Default Startup Directory"));
    jmiSelectStartDir = startDir->addAction(QStringLiteral("Select"));
    jmiRemoveStartDir = startDir->addAction(QStringLiteral("Remove"));
    jmFile->addSeparator();
    jmiReorganizeArchive = later(jmFile, QStringLiteral("Reorganize Archive"));
    jmFile->addSeparator();
    jmiExit = jmFile->addAction(QStringLiteral("Exit"));

    jmActions = bar->addMenu(QStringLiteral("Actions"));
    for (const QString& batch : {QStringLiteral("Print"), QStringLiteral("Export"), QStringLiteral("Scaling")}) {
        QMenu* sub = jmActions->addMenu(batch);
        later(sub, batch == QLatin1String("Print") ? QStringLiteral("Print Batch")
                   : batch == QLatin1String("Export") ? QStringLiteral("Export Batch")
                                                      : QStringLiteral("Rescale Batch"));
        later(sub, QStringLiteral("View Batch"));
        later(sub, QStringLiteral("Clear Batch"));
        sub->addSeparator();
        later(sub, batch == QLatin1String("Print") ? QStringLiteral("Print Selected Files")
                   : batch == QLatin1String("Export") ? QStringLiteral("Export Selected Files")
                                                      : QStringLiteral("Scale Selected Files"));
    }
    jmActions->addSeparator();
    later(jmActions, QStringLiteral("Print Preview Selected"));
    later(jmActions, QStringLiteral("Rename Selected Files"));
    rotate = rotateItems(jmActions);

    jmSlideShow = bar->addMenu(QStringLiteral("Slide Show"));
    later(jmSlideShow, QStringLiteral("Show Selected"));
    later(jmSlideShow, QStringLiteral("Show All"));
    later(jmSlideShow, QStringLiteral("Show All (auto reload)"));
    jmSlideShow->addSeparator();
    jckbmiUseTransitions = jmSlideShow->addAction(QStringLiteral("Use slide transitions"));
    jckbmiUseTransitions->setCheckable(true);
    jmSlideShow->addSeparator();
    slideDelays = radioGroup(jmSlideShow->addMenu(QStringLiteral("Slide show delay settings")),
                             {"1 second", "2 seconds", "3 seconds", "5 seconds", "15 seconds", "30 seconds", "60 seconds"},
                             QStringLiteral("3 seconds"), owner);
    reloadIntervals = radioGroup(jmSlideShow->addMenu(QStringLiteral("Auto Reloading Interval")),
                                 {"10 seconds", "30 seconds", "60 seconds", "5 minutes", "10 minutes"}, QStringLiteral("60 seconds"), owner);

    jmTableFilters = bar->addMenu(QStringLiteral("Table Filters"));
    jmiAddTableFilter = jmTableFilters->addAction(QStringLiteral("Add Table Filter"));
    jmiRemoveSelectedFilters = jmTableFilters->addAction(QStringLiteral("Remove Selected Filters"));
    jmiRemoveUnselectedFilters = jmTableFilters->addAction(QStringLiteral("Remove Uselected Filters"));

    jmHelp = bar->addMenu(QStringLiteral("Help"));
    jmiFullScreenHotKeys = later(jmHelp, QStringLiteral("Full Screen Hot Keys"));
    jmiSlideShowHotKeys = later(jmHelp, QStringLiteral("Slide Show Hot Keys"));
    jmHelp->addSeparator();
    jckbmiShowToolTips = jmHelp->addAction(QStringLiteral("Show Tool Tips"));
    jckbmiShowToolTips->setCheckable(true);
    jckbmiShowToolTips->setChecked(true);
    jckbmiLoggingOn = jmHelp->addAction(QStringLiteral("Logging On"));
    jckbmiLoggingOn->setCheckable(true);
    jmHelp->addSeparator();
    jmiAbout = jmHelp->addAction(QStringLiteral("About"));

    fileTableMenu = new QMenu(owner);
    QMenu* addTag = fileTableMenu->addMenu(QStringLiteral("Add album tag to selected files"));
    later(addTag, QStringLiteral("New album tag"));
    QMenu* removeTag = fileTableMenu->addMenu(QStringLiteral("Remove album tag form selected files"));
    removeTag->setEnabled(false); // disabled while there are no album tags
    fileTableMenu->addSeparator();
    later(fileTableMenu, QStringLiteral("Mark for batch printing"));
    later(fileTableMenu, QStringLiteral("Mark for batch exporting"));
    later(fileTableMenu, QStringLiteral("Mark for batch rescaling"));
    fileTableMenu->addSeparator();
    later(fileTableMenu, QStringLiteral("Print selected files"));
    later(fileTableMenu, QStringLiteral("Export selected files"));
    later(fileTableMenu, QStringLiteral("Rescale selected files"));
    fileTableMenu->addSeparator();
    later(fileTableMenu, QStringLiteral("Rename selected files"));
    jpmiDeleteSelected = fileTableMenu->addAction(QStringLiteral("Delete selected files"));
    popupRotate = rotateItems(fileTableMenu);
}

QStringList MainMenus::disabledItems() const
{
    QStringList out;
    for (const QMenu* m : {jmFile, jmActions, jmSlideShow, jmTableFilters, jmHelp})
        collectDisabled(m, m->title(), &out);
    collectDisabled(fileTableMenu, QStringLiteral("popup"), &out);
    return out;
}

} // namespace zentrova
