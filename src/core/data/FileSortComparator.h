#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova {

// The order of catalogue entries by one criterion. The criterion indexes are not the table's column order:
// callers translate a column name with getIndexOf.
class FileSortComparator {
public:
    static constexpr int NAME = 0;
    static constexpr int SIZE = 1;
    static constexpr int TYPE = 2;
    static constexpr int MODIFIED = 3;
    static constexpr int PATH = 4;

    explicit FileSortComparator(int criterion = NAME, bool descending = false, bool ignoreCase = true);

    // The criterion index of a column name ("NAME", "SIZE"...), -1 for an unknown name.
    static int getIndexOf(const QString& columnName);
    static QString getColumnName(int criterion);

    int criterion() const { return index; }
    bool isDescending() const { return descending; }

    // What a comparison needs of an entry, read from the file system once.
    struct Key {
        QString name;
        QString extension; // from the last dot, "" without one
        QString parent;
        qint64 size = 0;
        qint64 modified = 0;
        enum Kind { FILE, DIR, OTHER } kind = OTHER;
    };
    // Names alone need no file system call; withFileFacts adds size, time and kind.
    static Key keyOf(const QString& path, bool withFileFacts = true);

    // Negative, zero or positive. No value stands for an object that is not an entry: it sorts first.
    int compare(const std::optional<QString>& a, const std::optional<QString>& b) const;
    int compareKeys(const Key& a, const Key& b) const;

    // A stable sort that reads each entry's key once.
    void sort(QStringList& paths) const;

private:
    int index;
    bool descending;
    bool ignoreCase;
};

} // namespace zentrova
