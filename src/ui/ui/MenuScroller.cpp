#include "ui/MenuScroller.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QWidgetAction>

#include <algorithm>
#include <functional>

namespace zentrova {

int MenuScrollWindow::clampFirst(int f, int itemCount) const
{
    const int last = std::max(topFixedCount, itemCount - bottomFixedCount - scrollCount);
    return std::clamp(f, topFixedCount, last);
}

int MenuScrollWindow::keepVisible(int f, int index, int itemCount) const
{
    if (index >= 0) {
        if (index < f)
            f = index;
        else if (index >= f + scrollCount)
            f = index - scrollCount + 1;
    }
    return clampFirst(f, itemCount);
}

namespace {
QPixmap arrowPixmap(bool pointsUp, bool enabled)
{
    QPixmap pm(10, 10);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF triangle;
    if (pointsUp)
        triangle << QPointF(5, 1) << QPointF(9, 8) << QPointF(1, 8);
    else
        triangle << QPointF(1, 2) << QPointF(9, 2) << QPointF(5, 9);
    p.setPen(Qt::gray);
    p.setBrush(enabled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
    p.drawPolygon(triangle);
    return pm;
}

// An arrow row that scrolls while the pointer rests on it, and never closes the menu.
class ArrowLabel : public QLabel {
public:
    ArrowLabel(bool pointsUp, std::function<void(bool)> hover) : upward(pointsUp), onHover(std::move(hover))
    {
        setAlignment(Qt::AlignCenter);
        setMinimumHeight(14);
        refresh(true);
    }
    void refresh(bool enabled) { setPixmap(arrowPixmap(upward, enabled)); }

protected:
    void enterEvent(QEnterEvent*) override { onHover(true); }
    void leaveEvent(QEvent*) override { onHover(false); }

private:
    bool upward;
    std::function<void(bool)> onHover;
};
} // namespace

MenuScroller* MenuScroller::setScrollerFor(QMenu* menu, int scrollCount, int interval, int topFixedCount,
                                           int bottomFixedCount, QString* error)
{
    if (scrollCount <= 0 || interval <= 0) {
        if (error)
            *error = QStringLiteral("scrollCount and interval must be greater than 0");
        return nullptr;
    }
    if (topFixedCount < 0 || bottomFixedCount < 0) {
        if (error)
            *error = QStringLiteral("topFixedCount and bottomFixedCount cannot be negative");
        return nullptr;
    }
    if (!menu)
        return nullptr;
    return new MenuScroller(menu, scrollCount, interval, topFixedCount, bottomFixedCount);
}

MenuScroller::MenuScroller(QMenu* m, int scrollCount, int interval, int top, int bottom)
    : QObject(m), menu(m), up(new QWidgetAction(this)), down(new QWidgetAction(this)),
      topSeparator(new QAction(this)), bottomSeparator(new QAction(this)), timer(new QTimer(this))
{
    topSeparator->setSeparator(true);
    bottomSeparator->setSeparator(true);
    window.scrollCount = scrollCount;
    window.topFixedCount = top;
    window.bottomFixedCount = bottom;
    first = top;
    timer->setInterval(interval);
    connect(timer, &QTimer::timeout, this, [this] { scrollBy(direction); });
    auto hover = [this](int dir) {
        return [this, dir](bool inside) {
            direction = dir;
            if (inside)
                timer->start();
            else
                timer->stop();
        };
    };
    up->setDefaultWidget(new ArrowLabel(true, hover(-1)));
    down->setDefaultWidget(new ArrowLabel(false, hover(1)));
    connect(menu, &QMenu::aboutToShow, this, &MenuScroller::menuShown);
    connect(menu, &QMenu::aboutToHide, this, &MenuScroller::menuHidden);
}

bool MenuScroller::setScrollCount(int scrollCount, QString* error)
{
    if (scrollCount <= 0) {
        if (error)
            *error = QStringLiteral("scrollCount must be greater than 0");
        return false;
    }
    window.scrollCount = scrollCount;
    return true;
}

bool MenuScroller::setInterval(int interval, QString* error)
{
    if (interval <= 0) {
        if (error)
            *error = QStringLiteral("interval must be greater than 0");
        return false;
    }
    timer->setInterval(interval);
    return true;
}

int MenuScroller::getInterval() const
{
    return timer->interval();
}

void MenuScroller::setTopFixedCount(int topFixedCount)
{
    if (first <= window.topFixedCount)
        first = topFixedCount;
    else
        first += topFixedCount - window.topFixedCount;
    window.topFixedCount = topFixedCount;
}

void MenuScroller::setBottomFixedCount(int bottomFixedCount)
{
    window.bottomFixedCount = bottomFixedCount;
}

void MenuScroller::keepVisible(QAction* item)
{
    keepItem = item;
    keepIndex = -1;
}

void MenuScroller::keepVisible(int index)
{
    keepItem = nullptr;
    keepIndex = index;
}

QAction* MenuScroller::upArrow() const
{
    return up;
}

QAction* MenuScroller::downArrow() const
{
    return down;
}

void MenuScroller::dispose()
{
    if (menu) {
        menuHidden();
        disconnect(menu, nullptr, this, nullptr);
    }
    deleteLater();
}

void MenuScroller::menuShown()
{
    if (!menu || scrolling)
        return;
    items.clear();
    for (QAction* a : menu->actions())
        items.append(a);
    if (!window.needsScrolling(static_cast<int>(items.size())))
        return;
    scrolling = true;
    int index = keepIndex;
    if (keepItem)
        index = static_cast<int>(items.indexOf(keepItem.data()));
    first = window.keepVisible(first, index, static_cast<int>(items.size()));
    rebuild();
}

void MenuScroller::menuHidden()
{
    timer->stop();
    if (!scrolling || !menu)
        return;
    scrolling = false;
    for (QAction* a : menu->actions())
        menu->removeAction(a);
    for (const auto& a : items)
        if (a)
            menu->addAction(a.data());
    items.clear();
}

void MenuScroller::scrollBy(int delta)
{
    if (!scrolling)
        return;
    const int moved = window.clampFirst(first + delta, static_cast<int>(items.size()));
    if (moved != first) {
        first = moved;
        rebuild();
    }
}

void MenuScroller::rebuild()
{
    for (QAction* a : menu->actions())
        menu->removeAction(a);
    const int count = static_cast<int>(items.size());
    auto add = [this](int i) {
        if (items.at(i))
            menu->addAction(items.at(i).data());
    };
    for (int i = 0; i < window.topFixedCount; ++i)
        add(i);
    if (window.topFixedCount > 0)
        menu->addAction(topSeparator);
    menu->addAction(up);
    for (int i = first; i < std::min(count, first + window.scrollCount); ++i)
        add(i);
    menu->addAction(down);
    if (window.bottomFixedCount > 0)
        menu->addAction(bottomSeparator);
    for (int i = count - window.bottomFixedCount; i < count; ++i)
        add(i);
    const bool upOn = window.upEnabled(first);
    const bool downOn = window.downEnabled(first, count);
    up->setEnabled(upOn);
    down->setEnabled(downOn);
    static_cast<ArrowLabel*>(up->defaultWidget())->refresh(upOn);
    static_cast<ArrowLabel*>(down->defaultWidget())->refresh(downOn);
}

} // namespace zentrova
