// Shows one of the program's views on its own, over real files, for looking at it (screenshots under
// Xvfb) before the main window holds it:
//   zentrova-widget-preview table FOLDER [COLUMN [desc]]   the file table, sorted by COLUMN
//   zentrova-widget-preview pane FILE [captions]            the image pane with all four captions
//   zentrova-widget-preview effect N FROM TO                effect N held half-way from FROM to TO
//   zentrova-widget-preview zoom FILE                       a zoom at the pane's centre
//   zentrova-widget-preview thumb FILE                      a 200-pixel thumbnail panel
//   zentrova-widget-preview preview FILE...                 the preview window
//   zentrova-widget-preview tree FOLDER [months]            the date tree (opened to months)
#include "models/FileTableModel.h"
#include "models/FileTreeModel.h"
#include "tree/FileTree.h"
#include "table/DataSizedTableColumnModel.h"
#include "table/FileTable.h"
#include "ui/ImagePreviewDialog.h"
#include "ui/SlidePane.h"
#include "ui/ThumbnailPanel.h"

#include <QApplication>
#include <QDirIterator>
#include <QHeaderView>

#include <cstdio>

using namespace zentrova;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: see the comment at the top of tests/tools/WidgetPreview.cpp\n");
        return 2;
    }
    const QString mode = args[1];
    if (mode == "pane" || mode == "effect" || mode == "zoom") {
        auto* pane = new SlidePane;
        pane->resize(900, 600);
        pane->setWindowTitle(mode);
        pane->show();
        if (mode == "effect" && args.size() >= 5) {
            pane->setTransEffect(args[2].toInt());
            pane->setStepDelays(60000, 60000);
            pane->setFile(args[3]);
            pane->setFile(args[4], 4, 10);
            pane->holdTransitionAt(0.5f);
            pane->setAddCaption(QStringLiteral("effect %1 at 0.5").arg(args[2]));
        } else {
            pane->setFile(args[2], 2, 27);
            if (mode == "zoom")
                pane->zoomTo(QPoint(450, 300));
            else if (args.size() > 3) {
                pane->setShowAllCaptions(true);
                pane->setAddCaption(QStringLiteral("Paused press <SpaceBar> to continue"));
            }
        }
        return app.exec();
    }
    if (mode == "thumb") {
        auto* thumb = new ThumbnailPanel(200);
        thumb->setFile(args[2]);
        thumb->resize(300, 300);
        thumb->show();
        return app.exec();
    }
    if (mode == "preview") {
        new ImagePreviewDialog(args.mid(2));
        return app.exec();
    }
    if (mode == "tree") {
        QStringList files;
        QDirIterator it(args[2], {"*.jpg", "*.JPG", "*.png", "*.PNG"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        auto* table = new FileTableModel;
        auto* model = new FileTreeModel(table);
        auto* tree = new FileTree;
        model->setTree(tree);
        tree->setTreeModel(model);
        table->setFiles(files);
        if (args.size() > 3 && args[3] == "months")
            tree->showMonths();
        tree->setWindowTitle(QStringLiteral("Date View"));
        tree->resize(420, 760);
        tree->show();
        return app.exec();
    }
    if (mode != "table")
        return 2;
    QStringList files;
    QDirIterator it(args[2], {"*.jpg", "*.JPG", "*.jpeg", "*.JPEG", "*.png", "*.PNG"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    FileTableModel model;
    model.setFiles(files);
    if (args.size() > 3)
        model.sort(args[3], args.size() > 4 && args[4] == "desc");
    FileTable table;
    table.setFileTableModel(&model);
    DataSizedTableColumnModel::apply(&table);
    table.setWindowTitle(QStringLiteral("File View"));
    table.resize(table.horizontalHeader()->length() + 24, 640);
    table.selectRow(2);
    table.show();
    return app.exec();
}
