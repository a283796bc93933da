#pragma once

#include <QByteArray>
#include <QDateTime>

#include <cstdint>

// Byte layout shared by the ZIP writer and reader (little-endian throughout).
namespace zentrova::ZipFormat {

inline constexpr std::uint32_t LOCAL_SIGNATURE = 0x04034b50;
inline constexpr std::uint32_t DESCRIPTOR_SIGNATURE = 0x08074b50;
inline constexpr std::uint32_t CENTRAL_SIGNATURE = 0x02014b50;
inline constexpr std::uint32_t END_SIGNATURE = 0x06054b50;
inline constexpr std::uint16_t FLAG_ENCRYPTED = 0x0001;
inline constexpr std::uint16_t FLAG_DESCRIPTOR = 0x0008;
inline constexpr std::uint16_t FLAG_UTF8 = 0x0800;
inline constexpr std::uint16_t STORED = 0;
inline constexpr std::uint16_t DEFLATED = 8;
inline constexpr int LOCAL_HEADER_SIZE = 30;

inline void put16(QByteArray& b, std::uint32_t v)
{
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
inline void put32(QByteArray& b, std::uint32_t v)
{
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
inline std::uint16_t get16(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(u[0] | (u[1] << 8));
}
inline std::uint32_t get32(const char* p)
{
    return get16(p) | (std::uint32_t(get16(p + 2)) << 16);
}

// MS-DOS time and date of a local time; years before 1980 are written as 1980-01-01.
std::uint32_t dosDateTime(const QDateTime& when);
QDateTime fromDosDateTime(std::uint32_t dos);

} // namespace zentrova::ZipFormat
