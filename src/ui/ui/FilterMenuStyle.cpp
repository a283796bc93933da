#include "ui/FilterMenuStyle.h"

#include "models/TableFileNameFilter.h"

#include <QStyleOptionMenuItem>

namespace zentrova {

FilterMenuStyle::FilterMenuStyle(std::function<bool(const QString&)> isFilterItem, std::function<bool()> anyChecked)
    : isFilterItem(std::move(isFilterItem)), anyChecked(std::move(anyChecked))
{
}

void FilterMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (item && (element == CE_MenuItem || element == CE_MenuBarItem)) {
        QColor colour;
        if (element == CE_MenuItem && isFilterItem(item->text))
            colour = item->checked ? TableFileNameFilter::CHECKED_ITEM_COLOR : TableFileNameFilter::UNCHECKED_ITEM_COLOR;
        else if (element == CE_MenuBarItem && item->text == TITLE)
            colour = anyChecked() ? TableFileNameFilter::ACTIVE_TITLE_COLOR : TableFileNameFilter::INACTIVE_TITLE_COLOR;
        if (colour.isValid()) {
            QStyleOptionMenuItem copy = *item;
            for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
                copy.palette.setColor(role, colour);
            QProxyStyle::drawControl(element, &copy, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

} // namespace zentrova
