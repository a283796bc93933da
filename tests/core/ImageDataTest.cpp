#include "ImageFixtures.h"
#include "TempHome.h"
#include "image/ExivMetadata.h"
#include "image/ImageInfo.h"
#include "image/Resampler.h"

#include <QImageWriter>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

TEST(Resampling, KernelAndFlatPicturesInEveryFormat)
{
    EXPECT_DOUBLE_EQ(Resampler::cubic(0), 1.0);
    EXPECT_DOUBLE_EQ(Resampler::cubic(1), 0.0);
    EXPECT_DOUBLE_EQ(Resampler::cubic(-2), 0.0);
    EXPECT_DOUBLE_EQ(Resampler::cubic(0.5), 0.5625);
    EXPECT_DOUBLE_EQ(Resampler::cubic(1.5), -0.0625);

    const struct {
        QImage::Format in, out;
    } formats[] = {
        {QImage::Format_RGB32, QImage::Format_RGB32},           {QImage::Format_ARGB32, QImage::Format_ARGB32},
        {QImage::Format_Grayscale8, QImage::Format_Grayscale8}, {QImage::Format_RGB888, QImage::Format_RGB888},
        {QImage::Format_RGB16, QImage::Format_RGB16},           {QImage::Format_Indexed8, QImage::Format_RGB32},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(int(f.in));
        for (const auto& [from, target] : std::initializer_list<std::pair<QSize, QSize>>{{QSize(37, 23), QSize(10, 7)}, {QSize(37, 23), QSize(80, 50)}, {QSize(37, 23), QSize(37, 5)},
                                           {QSize(3, 3), QSize(2, 2)}, {QSize(1, 5), QSize(1, 2)}, {QSize(5, 1), QSize(2, 3)}}) {
            QImage flat(from, QImage::Format_RGB32);
            flat.fill(qRgb(200, 100, 50));
            flat = flat.convertToFormat(f.in);
            const QImage out = Resampler::resample(flat, target);
            ASSERT_EQ(out.size(), target);
            EXPECT_EQ(out.format(), f.out);
            for (QPoint p : {QPoint(0, 0), QPoint(target.width() - 1, target.height() - 1), QPoint(target.width() / 2, 0)})
                EXPECT_EQ(out.pixel(p), flat.pixel(0, 0));
        }
    }
}

TEST(Resampling, ShrinkingAveragesInsteadOfAliasing)
{
    // One-pixel stripes: a sampler without antialiasing returns stripes again; ours returns grey.
    QImage stripes(400, 40, QImage::Format_Grayscale8);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x)
            stripes.scanLine(y)[x] = x % 2 ? 255 : 0;
    const QImage small = Resampler::resample(stripes, {37, 4});
    for (int x = 1; x < 36; ++x)
        EXPECT_NEAR(small.scanLine(2)[x], 128, 8) << x;
}

TEST(Resampling, TransparentColoursDoNotBleed)
{
    QImage image(20, 2, QImage::Format_ARGB32);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 2; ++y)
            image.setPixel(x, y, x < 10 ? qRgba(255, 0, 0, 0) : qRgba(0, 0, 255, 255));
    const QImage out = Resampler::resample(image, {7, 2});
    for (int x = 0; x < 7; ++x)
        if (qAlpha(out.pixel(x, 0)) > 16) {
            EXPECT_LT(qRed(out.pixel(x, 0)), 16) << x;
        }
}

TEST(ImageSummary, ReadFromTheFilesOwnHeader)
{
    TempHome home;
    const QString corpus = QStringLiteral(ZENTROVA_TESTDATA "/camera/");
    QImage grey = gradientImage({30, 20}, QImage::Format_Grayscale8);
    grey.setDotsPerMeterX(11811);
    grey.setDotsPerMeterY(11811);
    const QString greyJpeg = writeImage(home.path() + "/grey.jpg", grey);
    const QString alphaPng = writeImage(home.path() + "/alpha.png", gradientImage({9, 7}, QImage::Format_ARGB32));
    const QString palettePng = writeImage(home.path() + "/palette.png", gradientImage({9, 7}).convertToFormat(QImage::Format_Indexed8));

    struct Case {
        QString path;
        QString format, colour;
        int width, height, bits;
        bool progressive, transparent, palette;
        int comments, dpi;
    };
    const Case cases[] = {
        {corpus + "Sumo_Museum.jpg", "JPEG", "RGB", 2048, 1536, 24, false, false, false, 0, -1},
        {corpus + "Sumo_Museum_progressive.jpg", "JPEG", "RGB", 2048, 1536, 24, true, false, false, 0, -1},
        {corpus + "T-45A_Goshawk_03.jpg", "JPEG", "RGB", 2788, 2085, 24, false, false, false, 1, -1},
        {greyJpeg, "JPEG", "Grayscale", 30, 20, 8, false, false, false, 0, 300},
        {alphaPng, "PNG", "RGB with alpha", 9, 7, 32, false, true, false, 0, -1},
        {palettePng, "PNG", "Indexed", 9, 7, 8, false, false, true, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const std::optional<ImageInfo> info = ImageInfo::read(c.path);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->format, c.format);
        EXPECT_EQ(info->colorType, c.colour);
        EXPECT_EQ(info->width, c.width);
        EXPECT_EQ(info->height, c.height);
        EXPECT_EQ(info->bitsPerPixel, c.bits);
        EXPECT_EQ(info->progressive, c.progressive);
        EXPECT_EQ(info->transparent, c.transparent);
        EXPECT_EQ(info->usesPalette, c.palette);
        EXPECT_EQ(info->comments.size(), c.comments);
        if (c.dpi > 0) {
            EXPECT_EQ(info->physicalWidthDpi, c.dpi);
        }
    }
    const QString text = ImageInfo::read(corpus + "T-45A_Goshawk_03.jpg")->toString();
    EXPECT_TRUE(text.startsWith("Format Details: JPEG (Joint Photographic Experts Group) Format\nFormat: JPEG\nWidth: 2788\n"));
    EXPECT_TRUE(text.contains("Is Progressive: false\n") && text.contains("Comments: 1\n\t0: 'AppleMark"));
    QString error;
    EXPECT_FALSE(ImageInfo::read(home.write("x.jpg", "plain text"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ImageSummary, MetadataItemsThroughTheLibrary)
{
    QStringList items;
    ASSERT_TRUE(ExivMetadata::readItems(ZENTROVA_TESTDATA "/camera/Canon1DmkIII.jpg", &items));
    EXPECT_TRUE(items.contains("Exif.Image.Make = Canon"));
    EXPECT_TRUE(items.contains("Exif.Image.Model = Canon EOS-1D Mark III"));
    for (const QString& item : items)
        EXPECT_LE(item.size(), 400);
    TempHome home;
    QString error;
    EXPECT_FALSE(ExivMetadata::readItems(home.write("junk.jpg", "no picture"), &items, &error));
    EXPECT_FALSE(error.isEmpty());
}
