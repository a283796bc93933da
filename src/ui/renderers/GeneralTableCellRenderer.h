#pragma once

#include <QStyledItemDelegate>

namespace zentrova {

// Draws the catalogue's cells: sizes right-aligned in bold without grouping, dates in the locale's short
// date and long time (or a red "DATE ERROR!"), text as it is; 2 pixels of padding above and below, 6 at the sides.
class GeneralTableCellRenderer : public QStyledItemDelegate {
public:
    static constexpr int PAD_VERTICAL = 2;
    static constexpr int PAD_HORIZONTAL = 6;
    static inline const QString DATE_ERROR = QStringLiteral("DATE ERROR!");

    using QStyledItemDelegate::QStyledItemDelegate;

    // The text a value is shown with ("" for none); *failed tells a date that could not be formatted.
    static QString textOf(const QVariant& value, bool* failed = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace zentrova
