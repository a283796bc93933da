#include "ImageFixtures.h"
#include "TempHome.h"
#include "image/ExifFile.h"
#include "image/ExifTagUtil.h"
#include "image/ImageDateTime.h"
#include "image/ImageIO.h"
#include "image/ImageProcessor.h"
#include "image/JpegSegments.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

enum Corner { TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT };

// Blue, with a red square in one corner: survives JPEG and shows every turn and flip.
QImage marked(QSize size, Corner corner = TOP_LEFT)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const int s = std::min(size.width(), size.height()) / 4;
    const int x = corner == TOP_RIGHT || corner == BOTTOM_RIGHT ? size.width() - s : 0;
    const int y = corner == BOTTOM_LEFT || corner == BOTTOM_RIGHT ? size.height() - s : 0;
    for (int j = y; j < y + s; ++j)
        for (int i = x; i < x + s; ++i)
            image.setPixel(i, j, qRgb(255, 0, 0));
    return image;
}

// The corner that holds the red square.
std::optional<Corner> redCorner(const QImage& image)
{
    const int w = image.width(), h = image.height(), m = std::min(w, h) / 8;
    const QPoint points[] = {{m, m}, {w - 1 - m, m}, {m, h - 1 - m}, {w - 1 - m, h - 1 - m}};
    std::optional<Corner> found;
    for (int c = 0; c < 4; ++c)
        if (qRed(image.pixel(points[c])) > 200 && qBlue(image.pixel(points[c])) < 60) {
            if (found)
                return std::nullopt;
            found = Corner(c);
        }
    return found;
}

QByteArray orientationTiff(uint16_t orientation)
{
    return tiffBlock(false, {{ExifTag::ORIENTATION, TiffType::SHORT, 1, QByteArray(reinterpret_cast<const char*>(&orientation), 2)}});
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

TEST(PixelTurns, EveryFormatMovesEachPixelExactly)
{
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_Grayscale8, QImage::Format_RGB888,
                                      QImage::Format_RGBA64, QImage::Format_RGB16, QImage::Format_Indexed8, QImage::Format_Mono};
    for (QImage::Format format : formats) {
        SCOPED_TRACE(int(format));
        QImage src = gradientImage({5, 3}).convertToFormat(format);
        if (format == QImage::Format_Mono) { // a checker board, so every bit matters
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    src.setPixel(x, y, uint((x * 3 + y) % 2));
        }
        const QImage cw = ImageProcessor::rotateImage90Degrees(src, true);
        const QImage ccw = ImageProcessor::rotateImage90Degrees(src, false);
        const QImage half = ImageProcessor::rotateImage180Degrees(src);
        ASSERT_EQ(cw.size(), QSize(3, 5));
        ASSERT_EQ(half.size(), QSize(5, 3));
        EXPECT_EQ(cw.format(), format);
        EXPECT_EQ(half.format(), format);
        const int w = src.width(), h = src.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(cw.pixel(h - 1 - y, x), src.pixel(x, y));
                EXPECT_EQ(ccw.pixel(y, w - 1 - x), src.pixel(x, y));
                EXPECT_EQ(half.pixel(w - 1 - x, h - 1 - y), src.pixel(x, y));
            }
    }
}

TEST(ImageDecoding, OrientationIsAppliedForAllEightValues)
{
    TempHome home;
    const QByteArray stored = readFile(writeImage(home.path() + "/stored.jpg", marked({64, 32})));
    const struct {
        uint16_t orientation;
        QSize size;
        Corner red;
    } cases[] = {
        {1, {64, 32}, TOP_LEFT},    {2, {64, 32}, TOP_RIGHT},    {3, {64, 32}, BOTTOM_RIGHT}, {4, {64, 32}, BOTTOM_LEFT},
        {5, {32, 64}, TOP_LEFT},    {6, {32, 64}, TOP_RIGHT},    {7, {32, 64}, BOTTOM_RIGHT}, {8, {32, 64}, BOTTOM_LEFT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        const QString path = home.write("o.jpg", withExif(stored, orientationTiff(c.orientation)));
        const QImage image = ImageIO::read(path);
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(redCorner(image), c.red);
    }
}

TEST(ImageDecoding, ReducedDecodeKeepsAMarginOverTheShownSize)
{
    struct Case {
        QSize picture, box;
        int denominator;
    };
    const Case cases[] = {
        {{4000, 3000}, {1024, 768}, 2}, {{4000, 3000}, {2000, 2000}, 1}, {{4000, 3000}, {900, 900}, 2},
        {{4000, 3000}, {500, 500}, 4},  {{4000, 3000}, {260, 260}, 8},   {{4000, 3000}, {}, 1},
        {{400, 300}, {1024, 768}, 1},   {{3000, 4000}, {600, 600}, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageIO::reductionFor(c.picture, c.box), c.denominator) << c.picture.width() << "x" << c.picture.height();

    TempHome home;
    const QString path = writeImage(home.path() + "/big.jpg", marked({800, 600}));
    EXPECT_EQ(ImageIO::read(path, nullptr, {100, 100}).size(), QSize(200, 150));
    EXPECT_EQ(ImageIO::read(path).size(), QSize(800, 600));
    QString error;
    EXPECT_TRUE(ImageIO::read(home.write("bad.jpg", "\xFF\xD8\xFF junk"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ImageEncoding, NeverReplaceLeavesAnExistingFile)
{
    TempHome home;
    const QString existing = home.write("taken.jpg", "keep me");
    QString error;
    EXPECT_FALSE(ImageIO::write(marked({8, 8}), existing, "jpg", ImageIO::Replace::NEVER, &error));
    EXPECT_EQ(readFile(existing), "keep me");
    EXPECT_TRUE(ImageIO::write(marked({8, 8}), existing, "jpg", ImageIO::Replace::ALWAYS, &error));
    EXPECT_EQ(ImageIO::read(existing).size(), QSize(8, 8));
    EXPECT_FALSE(ImageIO::write(marked({8, 8}), home.path() + "/x.nope", "nope", ImageIO::Replace::ALWAYS, &error));
}

class FileRotation : public TempHomeTest {
protected:
    void TearDown() override { ExifTagUtil::resetRegistry(); }
};

TEST_F(FileRotation, QuarterTurnOfALargeJpeg)
{
    const QString path = writeImage(home.path() + "/big.jpg", marked({4000, 3000}));
    ASSERT_TRUE(ImageProcessor::rotateImage90Degrees(path, true));
    const QImage turned = ImageIO::read(path);
    EXPECT_EQ(turned.size(), QSize(3000, 4000));
    EXPECT_EQ(redCorner(turned), TOP_RIGHT);
}

TEST_F(FileRotation, HalfTurnKeepsDateAlbumsAndModificationTime)
{
    const QString path = writeImage(home.path() + "/trip.jpg", marked({64, 48}));
    const QDateTime date(QDate(2010, 3, 5), QTime(14, 22, 10), Qt::LocalTime);
    ASSERT_TRUE(ImageDateTime::setImageDateTime(path, date));
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(path, "Holiday"));
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(path, "Family"));
    ASSERT_TRUE(ImageProcessor::rotateImage180Degrees(path));

    EXPECT_EQ(redCorner(ImageIO::read(path)), BOTTOM_RIGHT);
    EXPECT_EQ(QFileInfo(path).lastModified(), date);
    ExifFile::Contents c;
    ASSERT_TRUE(ExifFile::read(path, &c));
    ASSERT_EQ(c.block.directories().size(), 2u);
    const TiffIfd& ifd0 = c.block.directories()[0];
    ASSERT_EQ(ifd0.entries.size(), 1u);
    EXPECT_EQ(ifd0.entries[0].tag, ExifTag::EXIF_IFD_POINTER);
    const TiffIfd* exif = c.block.directory(IfdKind::EXIF);
    ASSERT_TRUE(exif);
    ASSERT_EQ(exif->entries.size(), 3u);
    EXPECT_EQ(c.block.value(*exif->find(ExifTag::CREATE_DATE)), "2010:03:05 14:22:10");
    EXPECT_EQ(c.block.value(*exif->find(ExifTag::DATE_TIME_ORIGINAL)), "2010:03:05 14:22:10");
    EXPECT_EQ(exif->find(ExifTag::CREATE_DATE)->count, 19u);
    EXPECT_EQ(c.block.value(*exif->find(ExifTag::USER_COMMENT)), "TolvexAlbumTags:Holiday,Family");
}

TEST_F(FileRotation, JpegWithoutDateKeepsItsModificationTimeAsTheDate)
{
    const QString path = writeImage(home.path() + "/plain.jpg", marked({64, 32}));
    const QDateTime modified(QDate(2015, 6, 7), QTime(8, 9, 10), Qt::LocalTime);
    setModified(path, modified);
    ASSERT_TRUE(ImageProcessor::rotateImage90Degrees(path, false));
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    EXPECT_EQ(ImageDateTime::getImageDateTime(path), modified);
    EXPECT_EQ(redCorner(ImageIO::read(path)), BOTTOM_LEFT);
}

TEST_F(FileRotation, PngFourTurnsGiveTheSamePixelsAndNoExif)
{
    const QImage original = gradientImage({7, 5});
    const QString path = writeImage(home.path() + "/shot.png", original);
    const QDateTime modified(QDate(2016, 1, 2), QTime(3, 4, 5), Qt::LocalTime);
    setModified(path, modified);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(ImageProcessor::rotateImage90Degrees(path, true));
    EXPECT_EQ(ImageIO::read(path).convertToFormat(QImage::Format_RGB32), original);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    EXPECT_FALSE(readFile(path).contains("Exif"));
}

TEST_F(FileRotation, PortraitWithOrientationTurnsTheWayTheViewerSeesIt)
{
    // Stored landscape with the red square top left; Orientation 6 shows it portrait, square top right.
    const QByteArray stored = readFile(writeImage(home.path() + "/s.jpg", marked({80, 40})));
    const QString path = home.write("portrait.jpg", withExif(stored, orientationTiff(6)));
    ASSERT_EQ(ImageIO::read(path).size(), QSize(40, 80));
    ASSERT_TRUE(ImageProcessor::rotateImage90Degrees(path, true));
    EXPECT_EQ(ImageIO::orientationOf(path), 1);
    const QImage seen = ImageIO::read(path);
    EXPECT_EQ(seen.size(), QSize(80, 40));
    EXPECT_EQ(redCorner(seen), BOTTOM_RIGHT);
}

TEST_F(FileRotation, UndecodableOrUnwritableFilesStayUntouched)
{
    // A sound header with no picture behind it.
    const QByteArray noPicture("\xFF\xD8\xFF\xDA\x00\x02junk", 10);
    const QString junk = home.write("junk.jpg", noPicture);
    EXPECT_FALSE(ImageProcessor::rotateImage180Degrees(junk));
    EXPECT_EQ(readFile(junk), noPicture);
    const QString gif = home.write("anim.gif", "GIF89a");
    EXPECT_FALSE(ImageProcessor::rotateImage90Degrees(gif, true));
    EXPECT_EQ(readFile(gif), "GIF89a");
}
