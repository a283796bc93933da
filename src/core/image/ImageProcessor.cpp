#include "image/ImageProcessor.h"

#include "image/ExifTagUtil.h"
#include "image/ImageDateTime.h"
#include "image/ImageIO.h"
#include "util/Console.h"
#include "util/FileUtil.h"

#include <QFile>
#include <QColorSpace>
#include <QFileInfo>

#include <cstring>
#include <functional>
#include <sys/stat.h>

namespace zentrova {

namespace {

enum class Turn { CLOCKWISE, COUNTER_CLOCKWISE, HALF };

// Where source pixel (x, y) of a w × h picture lands.
inline void target(Turn turn, int x, int y, int w, int h, int* tx, int* ty)
{
    switch (turn) {
    case Turn::CLOCKWISE: *tx = h - 1 - y; *ty = x; return;
    case Turn::COUNTER_CLOCKWISE: *tx = y; *ty = w - 1 - x; return;
    case Turn::HALF: *tx = w - 1 - x; *ty = h - 1 - y; return;
    }
}

template <int BYTES>
void turnBytes(const QImage& src, QImage& dst, Turn turn)
{
    // Tiles keep both the rows read and the rows written in the cache.
    constexpr int TILE = 32;
    const int w = src.width(), h = src.height();
    for (int y0 = 0; y0 < h; y0 += TILE)
        for (int x0 = 0; x0 < w; x0 += TILE)
            for (int y = y0; y < std::min(h, y0 + TILE); ++y) {
                const uchar* row = src.constScanLine(y);
                for (int x = x0; x < std::min(w, x0 + TILE); ++x) {
                    int tx, ty;
                    target(turn, x, y, w, h, &tx, &ty);
                    std::memcpy(dst.scanLine(ty) + std::size_t(tx) * BYTES, row + std::size_t(x) * BYTES, BYTES);
                }
            }
}

QImage turned(const QImage& src, Turn turn)
{
    if (src.isNull())
        return {};
    const bool quarter = turn != Turn::HALF;
    QImage dst(quarter ? src.height() : src.width(), quarter ? src.width() : src.height(), src.format());
    if (dst.isNull())
        return {};
    dst.setColorTable(src.colorTable());
    dst.setDotsPerMeterX(quarter ? src.dotsPerMeterY() : src.dotsPerMeterX());
    dst.setDotsPerMeterY(quarter ? src.dotsPerMeterX() : src.dotsPerMeterY());
    dst.setColorSpace(src.colorSpace());
    switch (src.depth()) {
    case 8: turnBytes<1>(src, dst, turn); break;
    case 16: turnBytes<2>(src, dst, turn); break;
    case 24: turnBytes<3>(src, dst, turn); break;
    case 32: turnBytes<4>(src, dst, turn); break;
    case 64: turnBytes<8>(src, dst, turn); break;
    case 128: turnBytes<16>(src, dst, turn); break;
    default: // one-bit pictures, pixel by pixel through their palette
        dst.fill(0);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) {
                int tx, ty;
                target(turn, x, y, src.width(), src.height(), &tx, &ty);
                dst.setPixel(tx, ty, uint(src.pixelIndex(x, y)));
            }
    }
    return dst;
}

bool setModificationTime(const QString& file, const QDateTime& when)
{
    QFile f(file);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
}

bool rotateFile(const QString& file, Turn turn)
{
    const QDateTime modified = FileUtil::modificationTime(file);
    const QStringList albums = ExifTagUtil::getAlbumTags(file);
    const std::optional<QDateTime> pictureDate = ImageDateTime::getImageDateTime(file);
    const QByteArray format = ImageIO::formatOf(file);
    if (!ImageIO::canWrite(format))
        return false;

    QString error;
    const QImage image = ImageIO::read(file, &error);
    if (image.isNull()) {
        Console::err(QStringLiteral("rotate: ") + error);
        return false;
    }
    if (!ImageIO::write(turned(image, turn), file, format, ImageIO::Replace::ALWAYS, &error)) {
        Console::err(QStringLiteral("rotate: ") + error);
        return false;
    }
    const QDateTime when = pictureDate ? *pictureDate : modified;
    ImageDateTime::setImageDateTime(file, when);
    for (const QString& album : albums)
        ExifTagUtil::addImageAlbumTag(file, album);
    // Set last: every rewrite above moved the time to now.
    if (!setModificationTime(file, when))
        Console::err(QStringLiteral("rotate: cannot set the modification time of ") + file);
    return true;
}

} // namespace

QImage ImageProcessor::rotateImage90Degrees(const QImage& image, bool clockwise)
{
    return turned(image, clockwise ? Turn::CLOCKWISE : Turn::COUNTER_CLOCKWISE);
}

QImage ImageProcessor::rotateImage180Degrees(const QImage& image)
{
    return turned(image, Turn::HALF);
}

bool ImageProcessor::rotateImage90Degrees(const QString& file, bool clockwise)
{
    return rotateFile(file, clockwise ? Turn::CLOCKWISE : Turn::COUNTER_CLOCKWISE);
}

bool ImageProcessor::rotateImage180Degrees(const QString& file)
{
    return rotateFile(file, Turn::HALF);
}

} // namespace zentrova
