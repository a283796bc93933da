#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QTimer;
class QWidgetAction;

namespace zentrova {

// Which run of a long menu's items is shown between the two arrows. Pure index arithmetic.
struct MenuScrollWindow {
    int scrollCount = 15;
    int topFixedCount = 0;
    int bottomFixedCount = 0;

    bool needsScrolling(int itemCount) const { return itemCount > topFixedCount + scrollCount + bottomFixedCount; }
    int clampFirst(int first, int itemCount) const;
    // Moves the run just enough to include index; a negative index changes nothing.
    int keepVisible(int first, int index, int itemCount) const;
    bool upEnabled(int first) const { return first > topFixedCount; }
    bool downEnabled(int first, int itemCount) const { return first + scrollCount < itemCount - bottomFixedCount; }
};

// Makes a menu with more items than fit scroll: while it is open it shows the top fixed items, an up arrow,
// `scrollCount` items, a down arrow and the bottom fixed items; resting the pointer on an arrow moves the
// run by one item every `interval` ms. The menu's own items are put back when it closes.
class MenuScroller : public QObject {
    Q_OBJECT
public:
    // Nothing, with the reason in *error, for a non-positive count or interval or a negative fixed count.
    static MenuScroller* setScrollerFor(QMenu* menu, int scrollCount = 15, int interval = 150, int topFixedCount = 0,
                                        int bottomFixedCount = 0, QString* error = nullptr);

    bool setScrollCount(int scrollCount, QString* error = nullptr);
    bool setInterval(int interval, QString* error = nullptr);
    void setTopFixedCount(int topFixedCount);
    void setBottomFixedCount(int bottomFixedCount);
    void keepVisible(QAction* item);
    void keepVisible(int index);
    void dispose();

    int getScrollCount() const { return window.scrollCount; }
    int getInterval() const;
    int firstIndex() const { return first; }
    QAction* upArrow() const;
    QAction* downArrow() const;
    // Moves the shown run by delta items while the menu is open.
    void scrollBy(int delta);

private:
    MenuScroller(QMenu* menu, int scrollCount, int interval, int top, int bottom);
    void menuShown();
    void menuHidden();
    void rebuild();

    QPointer<QMenu> menu;
    MenuScrollWindow window;
    int first = 0;
    int keepIndex = -1;
    QPointer<QAction> keepItem;
    QList<QPointer<QAction>> items;
    bool scrolling = false;
    QWidgetAction* up;
    QWidgetAction* down;
    QAction* topSeparator;
    QAction* bottomSeparator;
    QTimer* timer;
    int direction = 0;
};

} // namespace zentrova
