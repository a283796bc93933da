#include "table/DataSizedTableColumnModel.h"

#include "renderers/GeneralTableCellRenderer.h"
#include "models/FileTableModel.h"
#include "renderers/TableHeaderCellRenderer.h"

#include <QHeaderView>
#include <QTableView>

namespace zentrova {

int DataSizedTableColumnModel::widthOf(QTableView* table, int column)
{
    QAbstractItemModel* model = table->model();
    const QFontMetrics metrics(table->font());
    int widest = metrics.horizontalAdvance(model->headerData(column, Qt::Horizontal).toString().toUpper());
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString text = GeneralTableCellRenderer::textOf(model->data(model->index(row, column)));
        if (!text.isEmpty())
            widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return widest + MARGIN;
}

QList<int> DataSizedTableColumnModel::measure(const QFont& font, const QStringList& files)
{
    const QFontMetrics metrics(font);
    QList<int> widths;
    for (int column = 0; column < FileTableModel::COLUMN_COUNT; ++column) {
        int widest = metrics.horizontalAdvance(FileTableModel::COLUMN_NAMES[column].toUpper());
        for (const QString& f : files) {
            const QString text = GeneralTableCellRenderer::textOf(FileTableModel::valueOf(f, column));
            if (!text.isEmpty())
                widest = std::max(widest, metrics.horizontalAdvance(text));
        }
        widths << widest + MARGIN;
    }
    return widths;
}

void DataSizedTableColumnModel::applyWidths(QTableView* table, const QList<int>& widths)
{
    if (!dynamic_cast<TableHeaderCellRenderer*>(table->horizontalHeader()))
        table->setHorizontalHeader(new TableHeaderCellRenderer(table));
    QHeaderView* header = table->horizontalHeader();
    header->setMinimumSectionSize(1);
    for (int column = 0; column < widths.size(); ++column) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->resizeSection(column, widths[column]);
    }
}

void DataSizedTableColumnModel::apply(QTableView* table)
{
    QAbstractItemModel* model = table->model();
    if (!model)
        return;
    if (!dynamic_cast<TableHeaderCellRenderer*>(table->horizontalHeader()))
        table->setHorizontalHeader(new TableHeaderCellRenderer(table));
    QHeaderView* header = table->horizontalHeader();
    header->setMinimumSectionSize(1);
    for (int column = 0; column < model->columnCount(); ++column) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->resizeSection(column, widthOf(table, column));
    }
}

} // namespace zentrova
