#pragma once

#include <QString>

namespace zentrova {

// Orders anything by its text form, without regard to case.
struct StringSortComparator {
    int compare(const QString& a, const QString& b) const { return a.compare(b, Qt::CaseInsensitive); }
    bool operator()(const QString& a, const QString& b) const { return compare(a, b) < 0; }
};

} // namespace zentrova
