#include "archive/ZipFormat.h"

namespace zentrova::ZipFormat {

std::uint32_t dosDateTime(const QDateTime& when)
{
    const QDateTime local = when.isValid() ? when.toLocalTime() : QDateTime::currentDateTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 1980)
        return (1 << 21) | (1 << 16);
    const std::uint32_t date = (std::uint32_t(d.year() - 1980) << 9) | (std::uint32_t(d.month()) << 5) | std::uint32_t(d.day());
    const std::uint32_t time = (std::uint32_t(t.hour()) << 11) | (std::uint32_t(t.minute()) << 5) | std::uint32_t(t.second() / 2);
    return (date << 16) | time;
}

QDateTime fromDosDateTime(std::uint32_t dos)
{
    const std::uint32_t date = dos >> 16, time = dos & 0xffff;
    return QDateTime(QDate(int(1980 + (date >> 9)), int((date >> 5) & 0xf), int(date & 0x1f)),
                     QTime(int(time >> 11), int((time >> 5) & 0x3f), int((time & 0x1f) * 2)));
}

} // namespace zentrova::ZipFormat
