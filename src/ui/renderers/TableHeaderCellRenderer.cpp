#include "renderers/TableHeaderCellRenderer.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace zentrova {

TableHeaderCellRenderer::TableHeaderCellRenderer(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    QFont f = font();
    f.setBold(true);
    setFont(f);
    setSectionsClickable(true);
    setHighlightSections(false);
}

void TableHeaderCellRenderer::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->fillRect(rect, BACKGROUND);
    // A raised bevel: light on the top and left, dark on the bottom and right.
    painter->setPen(BACKGROUND.lighter(130));
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(BACKGROUND.darker(160));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->setPen(Qt::black);
    painter->setFont(font());
    const QString text = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    painter->drawText(rect, Qt::AlignCenter, text);
    painter->restore();
}

QSize TableHeaderCellRenderer::sectionSizeFromContents(int logicalIndex) const
{
    const QString text = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text) + 12, metrics.height() + 8};
}

bool TableHeaderCellRenderer::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && model()) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int section = logicalIndexAt(help->pos());
        if (section >= 0) {
            QToolTip::showText(help->globalPos(), model()->headerData(section, orientation(), Qt::DisplayRole).toString(), this);
            return true;
        }
    }
    return QHeaderView::event(e);
}

} // namespace zentrova
