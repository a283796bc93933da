#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace zentrova::test {

// A picture whose pixels differ from corner to corner, so turns and flips show.
QImage gradientImage(QSize size, QImage::Format format = QImage::Format_RGB32);
// Writes a JPEG (quality 90, no EXIF) or PNG by the extension of path.
QString writeImage(const QString& path, const QImage& image);
// A copy of the JPEG with this TIFF data as its EXIF APP1, right after SOI (any old EXIF APP1 removed).
QByteArray withExif(const QByteArray& jpeg, const QByteArray& tiff);
// The file's bytes without any EXIF APP1 before the first scan: what must stay identical across a rewrite.
QByteArray withoutExif(const QByteArray& jpeg);

// Little TIFF blocks for tests: entries are (tag, type, count, value bytes) and land in one directory.
struct TestEntry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    QByteArray value;
};
QByteArray tiffBlock(bool bigEndian, const QList<TestEntry>& ifd0, const QList<TestEntry>& exif = {});

bool toolInstalled(const QString& program);
// Runs a program, answering its standard output; exit code in *status.
QByteArray runTool(const QString& program, const QStringList& args, int* status = nullptr, QByteArray* errors = nullptr);

} // namespace zentrova::test
