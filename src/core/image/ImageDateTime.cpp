#include "image/ImageDateTime.h"

#include "image/ExifFile.h"
#include "util/Console.h"
#include "util/FileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <sys/stat.h>

namespace zentrova {

const std::array<QString, 12> ImageDateTime::MONTH_NAMES = {
    QStringLiteral("January"), QStringLiteral("Febuary"), QStringLiteral("March"),     QStringLiteral("April"),
    QStringLiteral("May"),     QStringLiteral("June"),    QStringLiteral("July"),      QStringLiteral("August"),
    QStringLiteral("September"), QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December"),
};

namespace {

enum class CreateDate { FOUND, NONE, READ_FAILED, NOT_NUMERIC };

qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
qint64 floorMod(qint64 a, qint64 b) { return a - floorDiv(a, b) * b; }

CreateDate readCreateDate(const QString& path, QDateTime* out, QString* error)
{
    ExifFile::Contents exif;
    if (!ExifFile::read(path, &exif, error))
        return CreateDate::READ_FAILED;
    if (!exif.hasExif)
        return CreateDate::NONE;
    const TiffEntry* e = exif.block.findFirst(ExifTag::CREATE_DATE);
    if (!e)
        return CreateDate::NONE;
    if (!e->valueValid) {
        if (error)
            *error = QStringLiteral("CreateDate value lies outside the EXIF block of ") + path;
        return CreateDate::READ_FAILED;
    }
    QByteArray bytes = exif.block.value(*e);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    const std::optional<QDateTime> parsed = ImageDateTime::parseExifDate(QString::fromLatin1(bytes), error);
    if (!parsed)
        return CreateDate::NOT_NUMERIC;
    *out = *parsed;
    return CreateDate::FOUND;
}

// The calendar's year as a plain number; years before 1 count back from 1 BC as 1.
int eraYear(const QDate& d)
{
    return d.year() > 0 ? d.year() : -d.year();
}

QString styledDateFormat(const QLocale& locale, ImageDateTime::Style style)
{
    switch (style) {
    case ImageDateTime::Style::FULL:
        return locale.dateFormat(QLocale::LongFormat);
    case ImageDateTime::Style::LONG:
    case ImageDateTime::Style::MEDIUM: {
        // The long form without the weekday; medium also shortens the month name.
        QString f = locale.dateFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral("dddd[,.]?\\s*")));
        if (style == ImageDateTime::Style::MEDIUM)
            f.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
        return f.trimmed();
    }
    case ImageDateTime::Style::SHORT:
        break;
    }
    return locale.dateFormat(QLocale::ShortFormat);
}

QString styledTimeFormat(const QLocale& locale, ImageDateTime::Style style)
{
    switch (style) {
    case ImageDateTime::Style::FULL:
    case ImageDateTime::Style::LONG:
        return locale.timeFormat(QLocale::LongFormat);
    case ImageDateTime::Style::MEDIUM: {
        QString f = locale.timeFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral("\\s*t+")));
        return f.trimmed();
    }
    case ImageDateTime::Style::SHORT:
        break;
    }
    return locale.timeFormat(QLocale::ShortFormat);
}

} // namespace

bool ImageDateTime::isJpegName(const QString& path)
{
    const QString name = QFileInfo(path).fileName().toLower();
    return name.endsWith(QLatin1String(".jpg")) || name.endsWith(QLatin1String("jpeg"));
}

std::optional<QDateTime> ImageDateTime::parseExifDate(const QString& text, QString* error)
{
    static const QRegularExpression separators(QStringLiteral("[': ]"));
    const QStringList tokens = text.trimmed().split(separators, Qt::SkipEmptyParts);
    qint64 f[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < tokens.size() && i < 6; ++i) {
        bool ok = false;
        f[i] = tokens[i].toInt(&ok, 10);
        if (!ok) {
            if (error)
                *error = QStringLiteral("For input string: \"%1\"").arg(tokens[i]);
            return std::nullopt;
        }
    }
    // Out-of-range values carry into the next larger unit, the way a lenient calendar builds a date.
    qint64 year = f[0] + floorDiv(f[1] - 1, 12);
    const int month = int(floorMod(f[1] - 1, 12)) + 1;
    const qint64 seconds = f[3] * 3600 + f[4] * 60 + f[5];
    const qint64 days = f[2] - 1 + floorDiv(seconds, 86400);
    // A calendar year 0 is 1 BC, which the date type calls year -1.
    const QDate first(int(year > 0 ? year : year - 1), month, 1);
    const QDate day = first.addDays(days);
    const QTime time = QTime(0, 0).addSecs(int(floorMod(seconds, 86400)));
    return QDateTime(day, time, Qt::LocalTime);
}

QString ImageDateTime::formatExifDate(const QDateTime& instant)
{
    const QDateTime local = instant.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return QStringLiteral("%1:%2:%3 %4:%5:%6")
        .arg(eraYear(d), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

ImageDateTime::ImageDateTime(const QString& path)
{
    QDateTime found;
    if (isJpegName(path)) {
        QString error;
        const CreateDate r = readCreateDate(path, &found, &error);
        if (r == CreateDate::READ_FAILED || r == CreateDate::NOT_NUMERIC)
            Console::err(error);
        if (r != CreateDate::FOUND) {
            found = FileUtil::modificationTime(path);
            setImageDateTime(path, found);
        }
    } else {
        found = FileUtil::modificationTime(path);
    }
    calendar = found.toLocalTime();
    date = calendar;
}

std::optional<qint64> ImageDateTime::getMilliseconds(QString* error) const
{
    if (!date.isValid()) {
        if (error)
            *error = QStringLiteral("Date value is null");
        return std::nullopt;
    }
    return date.toMSecsSinceEpoch();
}

std::optional<QString> ImageDateTime::getYearString() const
{
    if (!isValid())
        return std::nullopt;
    return QString::number(eraYear(calendar.date()));
}

std::optional<QString> ImageDateTime::getMonthString() const
{
    if (!isValid())
        return std::nullopt;
    return MONTH_NAMES[std::size_t(calendar.date().month() - 1)];
}

std::optional<QString> ImageDateTime::getDateFileNameString() const
{
    if (!isValid())
        return std::nullopt;
    const QDate d = calendar.date();
    return QStringLiteral("%1_%2_%3").arg(eraYear(d)).arg(d.month(), 2, 10, QLatin1Char('0')).arg(d.day(), 2, 10, QLatin1Char('0'));
}

std::optional<QString> ImageDateTime::getDateTimeString(Style dateStyle, Style timeStyle) const
{
    if (!isValid())
        return std::nullopt;
    const QLocale locale;
    return locale.toString(calendar.date(), styledDateFormat(locale, dateStyle)) + QLatin1Char(' ')
        + locale.toString(calendar.time(), styledTimeFormat(locale, timeStyle));
}

std::optional<QDateTime> ImageDateTime::getImageDateTime(const QString& path)
{
    if (!isJpegName(path))
        return FileUtil::modificationTime(path);
    QDateTime found;
    QString error;
    switch (readCreateDate(path, &found, &error)) {
    case CreateDate::FOUND:
        return found;
    case CreateDate::READ_FAILED:
        Console::err(QStringLiteral("getImageDateTime: ") + error);
        return std::nullopt;
    case CreateDate::NONE:
        return std::nullopt;
    case CreateDate::NOT_NUMERIC:
        Console::err(error);
        return FileUtil::modificationTime(path);
    }
    return std::nullopt;
}

bool ImageDateTime::setImageDateTime(const QString& path, const QDateTime& instant)
{
    if (!isJpegName(path))
        return false;
    const QByteArray text = formatExifDate(instant).toLatin1();
    ExifChange change;
    change.removeEverywhere = {ExifTag::CREATE_DATE, ExifTag::DATE_TIME_ORIGINAL};
    change.addToExif = {{ExifTag::CREATE_DATE, TiffType::ASCII, text}, {ExifTag::DATE_TIME_ORIGINAL, TiffType::ASCII, text}};

    ExifFile::RewriteOptions options;
    options.tempName = ExifFile::TempName::DOT_TMP;
    options.keepTempOnWriteFailure = true;
    ExifFile::Failure failure;
    QString error;
    if (ExifFile::rewrite(path, change, options, &failure, &error))
        return true;
    Console::err(QStringLiteral("setImageDateTime: ") + path + QStringLiteral(": ") + error);
    if (failure == ExifFile::Failure::WRITE_FAILED || failure == ExifFile::Failure::TEMP_FAILED) {
        // The image is set aside, unchanged, so a broken stamp is not tried again at every look.
        const QString target = ExifFile::resolvedPath(path);
        if (!QFile::rename(target, target + QStringLiteral(".errored")))
            Console::err(QStringLiteral("setImageDateTime: cannot rename ") + target + QStringLiteral(" to .errored"));
    }
    return false;
}

} // namespace zentrova
