#include "table/DataSizedTableColumnModel.h"

#include "renderers/GeneralTableCellRenderer.h"
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
