#pragma once

#include <QHeaderView>

namespace zentrova {

// The catalogue's column headers: the name centred, bold, black on light grey with a raised edge, and the
// name again as tool tip.
class TableHeaderCellRenderer : public QHeaderView {
public:
    static inline const QColor BACKGROUND{211, 211, 211};

    explicit TableHeaderCellRenderer(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
    bool event(QEvent* e) override;
};

} // namespace zentrova
