#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zentrova {

// The picture date of an image file: a JPEG's EXIF CreateDate, or else the file's modification time, which
// is then stamped into the JPEG so the date stays fixed. Other files are dated by their modification time
// and never written. EXIF date texts carry no zone; they are local wall-clock time.
class ImageDateTime {
public:
    static const std::array<QString, 12> MONTH_NAMES;

    enum class Style { FULL, LONG, MEDIUM, SHORT };

    // Never fails; may stamp the file (see the class comment).
    explicit ImageDateTime(const QString& path);

    bool isValid() const { return calendar.isValid() && date.isValid(); }
    // The picture date in local time; getDate() is the same instant.
    QDateTime getCalendar() const { return calendar; }
    QDateTime getDate() const { return date; }
    // Milliseconds since 1970 UTC; without a date, no result and "Date value is null".
    std::optional<qint64> getMilliseconds(QString* error = nullptr) const;
    std::optional<QString> getYearString() const;
    std::optional<QString> getMonthString() const;
    // 2010_03_05 for 5 March 2010; the year is not padded.
    std::optional<QString> getDateFileNameString() const;
    std::optional<QString> getDateTimeString(Style dateStyle, Style timeStyle) const;

    // A JPEG's CreateDate, or the modification time of any other file; no result for a JPEG without a
    // readable CreateDate. Never writes.
    static std::optional<QDateTime> getImageDateTime(const QString& path);
    // Stamps the instant into a JPEG's CreateDate and DateTimeOriginal; true when the file was rewritten.
    // A failed rewrite sets the image aside under its name + ".errored" and leaves the name + ".tmp".
    static bool setImageDateTime(const QString& path, const QDateTime& instant);

    // A name that, lower-cased, ends with ".jpg" or with "jpeg" (no dot needed).
    static bool isJpegName(const QString& path);
    // The EXIF date text parsed as the picture date: tokens split at "': ", at most six, out-of-range
    // values carried into the next unit. No result, with a message, when a token is not a decimal number.
    static std::optional<QDateTime> parseExifDate(const QString& text, QString* error = nullptr);
    // The instant as the 19-character EXIF text in local time: 2010:03:05 14:22:10.
    static QString formatExifDate(const QDateTime& instant);

private:
    QDateTime calendar;
    QDateTime date;
};

} // namespace zentrova
