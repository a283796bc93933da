// Shows one of the program's views on its own, over real files, for looking at it (screenshots under
// Xvfb) before the main window holds it:
//   zentrova-widget-preview table FOLDER [COLUMN [desc]]   the file table, sorted by COLUMN
#include "models/FileTableModel.h"
#include "table/DataSizedTableColumnModel.h"
#include "table/FileTable.h"

#include <QApplication>
#include <QDirIterator>
#include <QHeaderView>

#include <cstdio>

using namespace zentrova;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || args[1] != "table") {
        std::fprintf(stderr, "usage: zentrova-widget-preview table FOLDER [COLUMN [desc]]\n");
        return 2;
    }
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
