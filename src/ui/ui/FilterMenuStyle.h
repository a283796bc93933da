#pragma once

#include <QProxyStyle>

#include <functional>

namespace zentrova {

// Colours the "Table Filters" menu as the filters stand: each filter item dark blue while checked and grey
// while not, and the menu's title red while any filter is on. Menus have no per-item colour of their own,
// so the style paints them.
class FilterMenuStyle : public QProxyStyle {
public:
    FilterMenuStyle(std::function<bool(const QString&)> isFilterItem, std::function<bool()> anyChecked);
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget = nullptr) const override;
    static inline const QString TITLE = QStringLiteral("Table Filters");

private:
    std::function<bool(const QString&)> isFilterItem;
    std::function<bool()> anyChecked;
};

} // namespace zentrova
