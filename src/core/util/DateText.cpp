#include "util/DateText.h"

#include <QTimeZone>

namespace zentrova::DateText {

namespace {
const char* const DAY_ABBREVIATIONS[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const MONTH_ABBREVIATIONS[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString zoneAbbreviation(const QDateTime& when)
{
    QString zone = when.timeZoneAbbreviation();
    // Some zones have no abbreviation and answer an offset ("UTC+01:00"); "GMT+01:00" is the customary form then.
    if (zone.isEmpty())
        zone = QStringLiteral("GMT");
    return zone;
}
} // namespace

QString format(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1 %2 %3 %4:%5:%6 %7 %8")
        .arg(QLatin1String(DAY_ABBREVIATIONS[d.dayOfWeek() - 1]))
        .arg(QLatin1String(MONTH_ABBREVIATIONS[d.month() - 1]))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'))
        .arg(zoneAbbreviation(when))
        .arg(d.year());
}

QString now()
{
    return format(QDateTime::currentDateTime());
}

} // namespace zentrova::DateText
