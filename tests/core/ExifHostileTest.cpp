// Damaged and hostile files given to the EXIF reader and writer: a clean answer, never a crash, and the
// file either untouched or rewritten into something both readers accept.
#include "ImageFixtures.h"
#include "TempHome.h"
#include "image/ExifFile.h"
#include "image/JpegSegments.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

QByteArray le32(uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); }
QByteArray le16(uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); }

// "II", IFD0 at 8 with the given entries and next link.
QByteArray tiff(const QList<QByteArray>& entries, uint32_t next = 0, uint32_t firstIfd = 8)
{
    QByteArray b = QByteArray("II*\0", 4) + le32(firstIfd) + le16(uint16_t(entries.size()));
    for (const QByteArray& e : entries)
        b += e;
    return b + le32(next);
}

QByteArray entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value)
{
    return le16(tag) + le16(type) + le32(count) + le32(value);
}

QByteArray chainedIfds(int count)
{
    QByteArray b = QByteArray("II*\0", 4) + le32(8);
    for (int i = 0; i < count; ++i) {
        const uint32_t next = i + 1 < count ? uint32_t(8 + 6 * (i + 1)) : 0;
        b += le16(0) + le32(next);
    }
    return b;
}

ExifChange albumChange()
{
    ExifChange c;
    c.removeEverywhere = {ExifTag::USER_COMMENT};
    c.addToExif = {{ExifTag::USER_COMMENT, TiffType::BYTE, "TolvexAlbumTags:Holiday"}};
    return c;
}

} // namespace

TEST(ExifHostile, DamagedFilesFailCleanlyAndStayUntouched)
{
    TempHome home;
    const QByteArray jpeg = readFile(writeImage(home.path() + "/base.jpg", gradientImage({16, 16})));
    const QByteArray good = withExif(jpeg, tiff({entry(0x010F, 2, 4, 0x00414243)}));
    const QByteArray hugeSegment = QByteArray("\xFF\xD8\xFF\xE0\xFF\xFF", 6) + "JFIF";

    struct Case {
        const char* name;
        QByteArray bytes;
        bool mustFail; // else a write may succeed, but only into a file both readers accept
    };
    const Case cases[] = {
        {"empty file", QByteArray(), true},
        {"SOI only", QByteArray("\xFF\xD8", 2), true},
        {"truncated inside the EXIF segment", good.left(24), true},
        {"truncated before the scan", jpeg.left(jpeg.indexOf("\xFF\xDA") - 5), true},
        {"segment length past the end", hugeSegment, true},
        {"segment length below two", QByteArray("\xFF\xD8\xFF\xE0\x00\x01", 6) + jpeg.mid(2), true},
        {"not TIFF inside the EXIF segment", withExif(jpeg, "XX*\0\x08\0\0\0"), true},
        {"first directory offset past the end", withExif(jpeg, tiff({}, 0, 0xFFFFFFF0)), true},
        {"directory count past the end", withExif(jpeg, QByteArray("II*\0", 4) + le32(8) + le16(0xFFFF)), true},
        {"Exif pointer past the end", withExif(jpeg, tiff({entry(0x8769, 4, 1, 0x7FFFFFF0)})), true},
        {"two EXIF segments", withExif(jpeg, tiff({})).insert(2, withExif(jpeg, tiff({})).mid(2, 4 + 6 + 14)), true},
        {"IFD0 linked to itself", withExif(jpeg, tiff({}, 8)), false},
        {"Exif pointer back to IFD0", withExif(jpeg, tiff({entry(0x8769, 4, 1, 8)})), false},
        {"count that overflows", withExif(jpeg, tiff({entry(0x010F, 12, 0x40000000, 8)})), false},
        {"value offset past the end", withExif(jpeg, tiff({entry(0x010F, 2, 100, 0xFFFFFF00)})), false},
        {"thousands of chained directories", withExif(jpeg, chainedIfds(10000)), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = home.write(QString("case.jpg"), c.bytes);
        ExifFile::Contents contents;
        QString readError;
        ExifFile::read(path, &contents, &readError); // must simply return
        ExifFile::Failure failure;
        QString error;
        const bool written = ExifFile::rewrite(path, albumChange(), {}, &failure, &error);
        if (c.mustFail || !written) {
            EXPECT_FALSE(written);
            EXPECT_NE(failure, ExifFile::Failure::NONE);
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(readFile(path), c.bytes) << "a failed write changed the file";
        } else {
            ASSERT_TRUE(ExifFile::read(path, &contents));
            EXPECT_EQ(contents.block.value(*contents.block.findFirst(ExifTag::USER_COMMENT)), "TolvexAlbumTags:Holiday");
            EXPECT_EQ(withoutExif(readFile(path)), withoutExif(c.bytes));
        }
        EXPECT_EQ(QDir(home.path()).entryList({"exif*tmp"}, QDir::Files), QStringList()) << "temporary file left";
    }
}
