#pragma once

#include <QDateTime>
#include <QString>

namespace zentrova::DateText {

// The program's default date text: English weekday and month, two-digit day, 24-hour time,
// time-zone abbreviation and year, as in "Tue Dec 09 12:21:07 UTC 2025", whatever the locale.
QString format(const QDateTime& when);
QString now();

} // namespace zentrova::DateText
