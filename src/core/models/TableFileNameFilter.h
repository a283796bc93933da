#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace zentrova {

// A file name filter of the catalogue: keeps (or drops) the entries whose names begin with, contain or end
// with a text. Two filters are equal when their descriptions are.
class TableFileNameFilter {
public:
    enum class Position { BEGINS_WITH = 0, CONTAINS = 1, ENDS_WITH = 2 };

    // How the filter items of the "Table Filters" menu look.
    static constexpr int MENU_ITEM_POINT_SIZE = 14;
    static inline const QColor CHECKED_ITEM_COLOR{0, 0, 175};
    static inline const QColor UNCHECKED_ITEM_COLOR{128, 128, 128};
    static inline const QColor ACTIVE_TITLE_COLOR{200, 0, 0};
    static inline const QColor INACTIVE_TITLE_COLOR{0, 0, 0};

    TableFileNameFilter() = default;
    TableFileNameFilter(QString text, bool include, Position position, bool caseSensitive, bool enabled = true)
        : text(std::move(text)), include(include), position(position), caseSensitive(caseSensitive), enabled(enabled)
    {
    }

    const QString& getText() const { return text; }
    bool isInclude() const { return include; }
    Position getPosition() const { return position; }
    bool isCaseSensitive() const { return caseSensitive; }
    bool isEnabled() const { return enabled; }
    void setEnabled(bool on) { enabled = on; }

    // Include containing "IMG" [match case]
    QString getDescription() const;
    QString toString() const { return getDescription(); }
    bool operator==(const TableFileNameFilter& other) const { return getDescription() == other.getDescription(); }

    bool matches(const QString& path) const;
    // The list unchanged while switched off; else the entries kept, in order.
    QStringList filterList(const QStringList& paths) const;

private:
    QString text;
    bool include = true;
    Position position = Position::CONTAINS;
    bool caseSensitive = true;
    bool enabled = true;
};

} // namespace zentrova
