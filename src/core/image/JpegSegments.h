#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace zentrova {

// The segment layout of a JPEG file's header, read from an open file with bounds checks. Only the header
// is read: up to the end of the first EXIF APP1 when reading metadata, up to the first scan when a
// rewrite needs to know every EXIF APP1. Nothing after the first SOS is looked at.
struct JpegHeader {
    enum class Walk { UNTIL_EXIF, UNTIL_SCAN };

    qint64 fileSize = 0;
    QByteArray head;          // the first bytes of the file, as far as the walk went
    qint64 exifStart = -1;    // first EXIF APP1: its marker...
    qint64 exifEnd = -1;      // ...and the byte after it
    int exifSegments = 0;     // EXIF APP1 segments before the first scan (counted by UNTIL_SCAN)
    qint64 insertAt = 2;      // where a new EXIF APP1 goes: after SOI and a JFIF APP0 right behind it
    struct Segment {
        uint8_t marker;
        qint64 start; // the marker's 0xFF
        qint64 end;   // the byte after the segment
    };
    std::vector<Segment> segments; // every segment with a length that the walk passed, in file order

    static constexpr int APP1_HEADER = 10; // marker, length, "Exif\0\0"
    static constexpr int MAX_TIFF_SIZE = 65535 - 2 - 6;

    bool hasExif() const { return exifStart >= 0; }
    // The TIFF data inside the first EXIF APP1.
    QByteArray exifTiff() const;

    // Walks the header of the open file. False with a message when the file is not a JPEG or its
    // segments are damaged before the point the walk needs.
    bool read(int fd, Walk walk, QString* error);
    bool read(const QString& path, Walk walk, QString* error);
    // The same walk over a file already in memory.
    bool read(const QByteArray& file, Walk walk, QString* error);

    // An EXIF APP1 segment holding this TIFF data (which must fit MAX_TIFF_SIZE).
    static QByteArray app1For(const QByteArray& tiff);

private:
    bool walk(int fd, Walk walk, QString* error);
    bool ensure(int fd, qint64 end);
};

} // namespace zentrova
