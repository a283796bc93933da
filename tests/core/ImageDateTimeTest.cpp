#include "ImageFixtures.h"
#include "TempHome.h"
#include "image/ExifFile.h"
#include "image/ImageDateTime.h"
#include "image/JpegSegments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

QByteArray exifField(const QString& path, uint16_t tag, uint16_t* type = nullptr)
{
    ExifFile::Contents c;
    if (!ExifFile::read(path, &c) || !c.hasExif)
        return "<none>";
    const TiffEntry* e = c.block.findFirst(tag);
    if (!e)
        return "<none>";
    if (type)
        *type = e->type;
    return c.block.value(*e);
}

QString jpegWithExif(const QString& path, const QByteArray& tiff)
{
    const QString plain = writeImage(path + ".plain.jpg", gradientImage({32, 24}));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(withExif(readFile(plain), tiff));
    f.close();
    QFile::remove(plain);
    return path;
}

QByteArray ascii(const char* text)
{
    return QByteArray(text, qsizetype(strlen(text)) + 1);
}

} // namespace

TEST(ImageDateTimeText, ExifDateTextsParseLikeALenientCalendar)
{
    struct Case {
        const char* text;
        QDateTime expected; // invalid: the text is refused
    };
    const Case cases[] = {
        {"2010:03:05 14:22:10", local(2010, 3, 5, 14, 22, 10)},
        {"'2010:03:05 14:22:10'", local(2010, 3, 5, 14, 22, 10)},
        {"  2010:03:05 14:22:10  ", local(2010, 3, 5, 14, 22, 10)},
        {"2010:03:05", local(2010, 3, 5)},
        {"2010:03:05 14:22:10:99:12", local(2010, 3, 5, 14, 22, 10)},
        {"2010:13:05 00:00:00", local(2011, 1, 5)},
        {"2010:03:00 00:00:00", local(2010, 2, 28)},
        {"2010:03:05 25:00:00", local(2010, 3, 6, 1)},
        {"2010:O3:05 14:22:10", QDateTime()},
        {"2010:03:05 14:22:1O", QDateTime()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QString error;
        const std::optional<QDateTime> got = ImageDateTime::parseExifDate(QString::fromLatin1(c.text), &error);
        if (c.expected.isValid()) {
            ASSERT_TRUE(got.has_value()) << error.toStdString();
            EXPECT_EQ(*got, c.expected);
        } else {
            EXPECT_FALSE(got.has_value());
            EXPECT_FALSE(error.isEmpty());
        }
    }
    const std::optional<QDateTime> zero = ImageDateTime::parseExifDate("0000:00:00 00:00:00");
    ASSERT_TRUE(zero.has_value());
    EXPECT_LT(zero->date(), QDate(1, 1, 1));
    EXPECT_EQ(ImageDateTime::formatExifDate(local(2010, 3, 5, 14, 22, 10)), "2010:03:05 14:22:10");
    EXPECT_EQ(ImageDateTime::formatExifDate(local(812, 3, 5, 4, 2, 1)), "0812:03:05 04:02:01");
}

TEST(ImageDateTimeText, JpegNamesAndMonthNames)
{
    for (const char* yes : {"a.JPG", "a.jpg", "a.jpeg", "a.JPEG", "ajpeg", "/x/y/photo.Jpeg"})
        EXPECT_TRUE(ImageDateTime::isJpegName(yes)) << yes;
    for (const char* no : {"a.jpe", "a.jfif", "a.png", "jpg", "a.jpg.errored"})
        EXPECT_FALSE(ImageDateTime::isJpegName(no)) << no;
    EXPECT_EQ(ImageDateTime::MONTH_NAMES[1], "Febuary");
    EXPECT_EQ(ImageDateTime::MONTH_NAMES[11], "December");
}

class ImageDateTimeFile : public TempHomeTest {};

TEST_F(ImageDateTimeFile, PngIsDatedByItsModificationTimeAndNeverWritten)
{
    const QString png = writeImage(home.path() + "/shot.png", gradientImage({8, 8}));
    const QDateTime when = QDateTime(QDate(2010, 3, 5), QTime(14, 22, 10, 345), Qt::LocalTime);
    setModified(png, when);
    const QByteArray bytes = readFile(png);
    const ImageDateTime d(png);
    ASSERT_TRUE(d.isValid());
    EXPECT_EQ(d.getMilliseconds(), when.toMSecsSinceEpoch());
    EXPECT_EQ(d.getDateFileNameString(), "2010_03_05");
    EXPECT_EQ(readFile(png), bytes);
    EXPECT_EQ(QFileInfo(png).lastModified(), when);
}

TEST_F(ImageDateTimeFile, JpegWithoutExifGetsItsModificationTimeStampedInIntelOrder)
{
    const QString jpg = writeImage(home.path() + "/plain.jpg", gradientImage({16, 16}));
    const QDateTime when = local(2012, 7, 1, 9, 8, 7);
    setModified(jpg, when);
    const ImageDateTime d(jpg);
    EXPECT_EQ(d.getCalendar(), when);
    JpegHeader h;
    ASSERT_TRUE(h.read(jpg, JpegHeader::Walk::UNTIL_EXIF, nullptr));
    ASSERT_TRUE(h.hasExif());
    EXPECT_EQ(h.exifTiff().left(2), "II");
    uint16_t type = 0;
    EXPECT_EQ(exifField(jpg, ExifTag::CREATE_DATE, &type), "2012:07:01 09:08:07");
    EXPECT_EQ(type, TiffType::ASCII);
    EXPECT_EQ(exifField(jpg, ExifTag::DATE_TIME_ORIGINAL), "2012:07:01 09:08:07"); // 19 bytes, no NUL
    EXPECT_GE(QFileInfo(jpg).lastModified(), QDateTime::currentDateTime().addSecs(-60));
    EXPECT_EQ(ImageDateTime(jpg).getCalendar(), when); // read back now, not stamped again
}

TEST_F(ImageDateTimeFile, CreateDateIsThePictureDateAndNothingIsWritten)
{
    const QString jpg = jpegWithExif(home.path() + "/dated.jpg",
                                     tiffBlock(true, {}, {{ExifTag::CREATE_DATE, TiffType::ASCII, 20, ascii("2010:03:05 14:22:10")}}));
    const QByteArray bytes = readFile(jpg);
    const ImageDateTime d(jpg);
    EXPECT_EQ(d.getCalendar(), local(2010, 3, 5, 14, 22, 10));
    EXPECT_EQ(d.getYearString(), "2010");
    EXPECT_EQ(d.getMonthString(), "March");
    EXPECT_EQ(readFile(jpg), bytes);
    EXPECT_EQ(ImageDateTime::getImageDateTime(jpg), local(2010, 3, 5, 14, 22, 10));
}

TEST_F(ImageDateTimeFile, DateTimeOriginalAloneIsOverwrittenWithTheModificationTime)
{
    const QString jpg = home.path() + "/MWG.jpg";
    ASSERT_TRUE(QFile::copy(ZENTROVA_TESTDATA "/camera/MWG.jpg", jpg));
    const QDateTime when = local(2014, 2, 11, 8, 0, 0);
    setModified(jpg, when);
    EXPECT_FALSE(ImageDateTime::getImageDateTime(jpg).has_value()); // never writes
    EXPECT_EQ(exifField(jpg, ExifTag::CREATE_DATE), "<none>");
    const ImageDateTime d(jpg);
    EXPECT_EQ(d.getMonthString(), "Febuary");
    EXPECT_EQ(exifField(jpg, ExifTag::DATE_TIME_ORIGINAL), "2014:02:11 08:00:00");
    EXPECT_EQ(exifField(jpg, ExifTag::CREATE_DATE), "2014:02:11 08:00:00");
}

TEST_F(ImageDateTimeFile, NonNumericCreateDateFallsBackToTheModificationTime)
{
    const QString jpg = jpegWithExif(home.path() + "/bad.jpg",
                                     tiffBlock(false, {}, {{ExifTag::CREATE_DATE, TiffType::ASCII, 20, ascii("2010:xx:05 14:22:10")}}));
    const QDateTime when = local(2011, 4, 4, 4, 4, 4);
    setModified(jpg, when);
    EXPECT_EQ(ImageDateTime::getImageDateTime(jpg), when);
    EXPECT_EQ(exifField(jpg, ExifTag::CREATE_DATE), QByteArray("2010:xx:05 14:22:10\0", 20)); // still unwritten
    EXPECT_EQ(ImageDateTime(jpg).getCalendar(), when);
    EXPECT_EQ(exifField(jpg, ExifTag::CREATE_DATE), "2011:04:04 04:04:04");
}

TEST_F(ImageDateTimeFile, YearsBelowOneThousandArePaddedOnlyInsideTheFile)
{
    const QString jpg = writeImage(home.path() + "/old.jpg", gradientImage({8, 8}));
    ASSERT_TRUE(ImageDateTime::setImageDateTime(jpg, local(812, 3, 5, 1, 2, 3)));
    EXPECT_EQ(exifField(jpg, ExifTag::CREATE_DATE), "0812:03:05 01:02:03");
    const ImageDateTime d(jpg);
    EXPECT_EQ(d.getYearString(), "812");
    EXPECT_EQ(d.getDateFileNameString(), "812_03_05");
    EXPECT_FALSE(ImageDateTime::setImageDateTime(home.path() + "/old.png", local(2010, 1, 1)));
}

TEST_F(ImageDateTimeFile, FailedRewriteLeavesErroredAndTmpAndStillDatesThePicture)
{
    // An EXIF block so full that the two date fields no longer fit a JPEG segment.
    const QString jpg = jpegWithExif(home.path() + "/full.jpg",
                                     tiffBlock(false, {}, {{0x927C, TiffType::UNDEFINED, 65460, QByteArray(65460, 'm')}}));
    const QByteArray bytes = readFile(jpg);
    const QDateTime when = local(2013, 5, 6, 7, 8, 9);
    setModified(jpg, when);
    const ImageDateTime d(jpg);
    EXPECT_TRUE(d.isValid());
    EXPECT_EQ(d.getCalendar(), when);
    EXPECT_FALSE(QFileInfo::exists(jpg));
    EXPECT_EQ(readFile(jpg + ".errored"), bytes);
    EXPECT_TRUE(QFileInfo::exists(jpg + ".tmp"));
}

TEST_F(ImageDateTimeFile, MissingFileIsDatedAtTheEpochAndNotCreated)
{
    const QString jpg = home.path() + "/gone.jpg";
    const ImageDateTime d(jpg);
    EXPECT_EQ(d.getMilliseconds(), 0);
    EXPECT_FALSE(QFileInfo::exists(jpg));
    EXPECT_FALSE(QFileInfo::exists(jpg + ".tmp"));
    EXPECT_FALSE(QFileInfo::exists(jpg + ".errored"));
}

TEST_F(ImageDateTimeFile, LocaleTextUsesTheStyles)
{
    const QString png = writeImage(home.path() + "/a.png", gradientImage({4, 4}));
    setModified(png, local(2010, 3, 5, 14, 22, 10));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const ImageDateTime d(png);
    EXPECT_EQ(d.getDateTimeString(ImageDateTime::Style::LONG, ImageDateTime::Style::MEDIUM), "March 5, 2010 2:22:10 PM");
    QLocale::setDefault(QLocale::system());
}
