#include "image/ImageInfo.h"

#include "image/JpegSegments.h"

#include <QFile>

namespace zentrova {

namespace {

uint16_t be16(const QByteArray& b, qsizetype at) { return uint16_t(uchar(b[at]) << 8 | uchar(b[at + 1])); }
uint32_t be32(const QByteArray& b, qsizetype at) { return uint32_t(be16(b, at)) << 16 | be16(b, at + 2); }

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool readJpeg(const QString& path, ImageInfo* info, QString* error)
{
    JpegHeader h;
    if (!h.read(path, JpegHeader::Walk::UNTIL_SCAN, error))
        return false;
    info->format = QStringLiteral("JPEG");
    info->formatName = QStringLiteral("JPEG (Joint Photographic Experts Group) Format");
    bool frame = false;
    for (const JpegHeader::Segment& s : h.segments) {
        const qsizetype p = qsizetype(s.start) + 4, len = qsizetype(s.end - s.start) - 4;
        const uint8_t m = s.marker;
        const bool sof = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (sof && !frame && len >= 6) {
            frame = true;
            const int precision = uchar(h.head[p]);
            info->height = be16(h.head, p + 1);
            info->width = be16(h.head, p + 3);
            const int components = uchar(h.head[p + 5]);
            info->bitsPerPixel = precision * components;
            info->colorType = components == 1 ? QStringLiteral("Grayscale") : components == 4 ? QStringLiteral("CMYK") : QStringLiteral("RGB");
            info->progressive = m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE;
            info->compression = m == 0xC3 || m == 0xC7 || m == 0xCB || m == 0xCF ? QStringLiteral("JPEG (lossless)")
                : m >= 0xC9 ? QStringLiteral("JPEG (arithmetic)") : QStringLiteral("JPEG");
        } else if (m == 0xE0 && len >= 12 && h.head.mid(p, 5) == QByteArray("JFIF\0", 5) && info->physicalWidthDpi < 0) {
            const int units = uchar(h.head[p + 7]);
            const int x = be16(h.head, p + 8), y = be16(h.head, p + 10);
            if (units == 1) {
                info->physicalWidthDpi = x;
                info->physicalHeightDpi = y;
            } else if (units == 2) {
                info->physicalWidthDpi = int(x * 2.54 + 0.5);
                info->physicalHeightDpi = int(y * 2.54 + 0.5);
            }
        } else if (m == 0xFE) {
            info->comments.append(QString::fromLatin1(h.head.mid(p, len)));
        } else if (m == 0xEE && len >= 12 && h.head.mid(p, 5) == "Adobe" && info->colorType == QLatin1String("CMYK")
                   && uchar(h.head[p + 11]) == 2) {
            info->colorType = QStringLiteral("YCCK");
        }
    }
    return frame || fail(error, QStringLiteral("JPEG file without a frame header"));
}

bool readPng(const QByteArray& b, ImageInfo* info, QString* error)
{
    info->format = QStringLiteral("PNG");
    info->formatName = QStringLiteral("PNG Portable Network Graphics");
    info->compression = QStringLiteral("Deflate");
    qsizetype pos = 8;
    bool header = false;
    int colourType = 0;
    while (pos + 8 <= b.size()) {
        const uint32_t length = be32(b, pos);
        const QByteArray type = b.mid(pos + 4, 4);
        const qsizetype data = pos + 8;
        if (length > uint32_t(b.size()) || data + qsizetype(length) > b.size())
            break;
        if (type == "IHDR" && length >= 13) {
            header = true;
            info->width = int(be32(b, data));
            info->height = int(be32(b, data + 4));
            const int depth = uchar(b[data + 8]);
            colourType = uchar(b[data + 9]);
            const int samples = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
            info->bitsPerPixel = depth * samples;
            info->colorType = colourType == 0 ? QStringLiteral("Grayscale") : colourType == 2 ? QStringLiteral("RGB")
                : colourType == 3 ? QStringLiteral("Indexed") : colourType == 4 ? QStringLiteral("Grayscale with alpha")
                : QStringLiteral("RGB with alpha");
            info->usesPalette = colourType == 3;
            info->transparent = colourType == 4 || colourType == 6;
            info->progressive = uchar(b[data + 12]) == 1; // Adam7 interlacing
        } else if (type == "pHYs" && length >= 9 && uchar(b[data + 8]) == 1) {
            info->physicalWidthDpi = int(be32(b, data) * 0.0254 + 0.5);
            info->physicalHeightDpi = int(be32(b, data + 4) * 0.0254 + 0.5);
        } else if (type == "tRNS") {
            info->transparent = true;
        } else if (type == "tEXt") {
            const QByteArray text = b.mid(data, length);
            const qsizetype nul = text.indexOf('\0');
            info->comments.append(nul < 0 ? QString::fromLatin1(text)
                                          : QString::fromLatin1(text.left(nul)) + QStringLiteral(": ") + QString::fromLatin1(text.mid(nul + 1)));
        } else if (type == "IEND" || type == "IDAT") {
            break; // text after the pixels is rare; reading on would read the whole file
        }
        pos = data + qsizetype(length) + 4;
    }
    return header || fail(error, QStringLiteral("PNG file without a header chunk"));
}

} // namespace

std::optional<ImageInfo> ImageInfo::read(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        fail(error, path + QStringLiteral(" (") + f.errorString() + QLatin1Char(')'));
        return std::nullopt;
    }
    const QByteArray start = f.read(8);
    ImageInfo info;
    if (start.startsWith("\xFF\xD8")) {
        f.close();
        if (readJpeg(path, &info, error))
            return info;
        return std::nullopt;
    }
    if (start == QByteArray("\x89PNG\r\n\x1A\n", 8)) {
        const QByteArray head = start + f.read(1 << 20);
        if (readPng(head, &info, error))
            return info;
        return std::nullopt;
    }
    fail(error, QStringLiteral("Not a JPEG or PNG file: ") + path);
    return std::nullopt;
}

QString ImageInfo::toString() const
{
    auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    auto inches = [](int pixels, int dpi) { return dpi > 0 ? QString::number(double(pixels) / dpi, 'f', 2) : QStringLiteral("-1"); };
    QStringList lines = {
        QStringLiteral("Format Details: ") + formatName,
        QStringLiteral("Format: ") + format,
        QStringLiteral("Width: ") + QString::number(width),
        QStringLiteral("Height: ") + QString::number(height),
        QStringLiteral("Bits Per Pixel: ") + QString::number(bitsPerPixel),
        QStringLiteral("Color Type: ") + colorType,
        QStringLiteral("Compression Algorithm: ") + compression,
        QStringLiteral("Physical Width Dpi: ") + QString::number(physicalWidthDpi),
        QStringLiteral("Physical Height Dpi: ") + QString::number(physicalHeightDpi),
        QStringLiteral("Physical Width Inch: ") + inches(width, physicalWidthDpi),
        QStringLiteral("Physical Height Inch: ") + inches(height, physicalHeightDpi),
        QStringLiteral("Is Progressive: ") + flag(progressive),
        QStringLiteral("Is Transparent: ") + flag(transparent),
        QStringLiteral("Uses Palette: ") + flag(usesPalette),
        QStringLiteral("Comments: ") + QString::number(comments.size()),
    };
    for (int i = 0; i < comments.size(); ++i)
        lines.append(QStringLiteral("\t%1: '%2'").arg(i).arg(comments[i]));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace zentrova
