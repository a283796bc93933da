#pragma once

class QTableView;

namespace zentrova {

// Column sizes fitted to the data: each column is as wide as the widest of its upper-case header and every
// row's value text in the table's font, plus MARGIN pixels, and fixed at that width.
namespace DataSizedTableColumnModel {
constexpr int MARGIN = 30;
void apply(QTableView* table);
int widthOf(QTableView* table, int column);
} // namespace DataSizedTableColumnModel

} // namespace zentrova
