#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

class QTableView;

namespace zentrova {

// Column sizes fitted to the data: each column is as wide as the widest of its upper-case header and every
// row's value text in the table's font, plus MARGIN pixels, and fixed at that width.
namespace DataSizedTableColumnModel {
constexpr int MARGIN = 30;
void apply(QTableView* table);
int widthOf(QTableView* table, int column);
// The same widths for a catalogue's files, measured away from the UI thread (fonts and metrics are safe
// to use on any thread), then set with applyWidths on the UI thread.
QList<int> measure(const QFont& font, const QStringList& files);
void applyWidths(QTableView* table, const QList<int>& widths);
} // namespace DataSizedTableColumnModel

} // namespace zentrova
