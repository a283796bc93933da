// Every write we make into a camera file, checked on real files from thirteen makers in both byte orders:
// nothing outside the EXIF APP1 changes, every tag another reader lists keeps its value, and the block
// does not grow with repeated writes.
#include "ImageFixtures.h"
#include "TempHome.h"
#include "image/ExifFile.h"
#include "image/JpegSegments.h"
#include "image/ExifTagUtil.h"
#include "image/ImageDateTime.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

struct Reading {
    QMap<QString, QString> tags;
    QSet<QString> warnings;
    bool errors = false;
};

// Tags we change on purpose, and what exiftool derives from the file system or from them.
bool ours(const QString& key)
{
    static const QStringList changed = {"ExifIFD:UserComment", "ExifIFD:CreateDate", "ExifIFD:DateTimeOriginal",
                                        "IFD0:DateTimeOriginal"};
    return changed.contains(key) || key.startsWith("File:") || key.startsWith("System:") || key.startsWith("ExifTool:")
        || key.startsWith("Composite:") || key == "SourceFile";
}

QMap<QString, Reading> exiftool(const QStringList& files)
{
    QMap<QString, Reading> out;
    const QJsonArray all = QJsonDocument::fromJson(runTool("exiftool", QStringList{"-j", "-a", "-u", "-G1", "-n"} + files)).array();
    for (const QJsonValue& v : all) {
        const QJsonObject o = v.toObject();
        Reading& r = out[o.value("SourceFile").toString()];
        for (auto it = o.begin(); it != o.end(); ++it)
            r.tags[it.key()] = QString::fromUtf8(QJsonDocument(QJsonArray{it.value()}).toJson(QJsonDocument::Compact));
    }
    // Validation, as text: one "======== file" header per file when there are several.
    const QString text = QString::fromUtf8(runTool("exiftool", QStringList{"-a", "-G1", "-s", "-validate", "-warning", "-error"} + files));
    QString current = files.size() == 1 ? files.first() : QString();
    for (const QString& line : text.split('\n')) {
        if (line.startsWith("======== ")) {
            current = line.mid(9).trimmed();
            continue;
        }
        const int colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QString name = line.left(colon).simplified();
        if (name.endsWith("Warning"))
            out[current].warnings.insert(line.mid(colon + 1).trimmed());
        if (name.endsWith("Error") || (name.endsWith("Validate") && line.contains("Error")))
            out[current].errors = true;
    }
    return out;
}

QByteArray tiffOf(const QString& path)
{
    JpegHeader h;
    return h.read(path, JpegHeader::Walk::UNTIL_EXIF, nullptr) ? h.exifTiff() : QByteArray();
}

QByteArray fieldValue(const QString& path, uint16_t tag, uint16_t* type = nullptr)
{
    ExifFile::Contents c;
    if (!ExifFile::read(path, &c) || !c.hasExif)
        return {};
    const TiffIfd* exif = c.block.directory(IfdKind::EXIF);
    const TiffEntry* e = exif ? exif->find(tag) : nullptr;
    if (!e)
        return {};
    if (type)
        *type = e->type;
    return c.block.value(*e);
}

bool exiv2Clean(const QString& path)
{
    int status = 0;
    QByteArray errors;
    runTool("exiv2", {"-pa", path}, &status, &errors);
    return status == 0 && !errors.contains("Error");
}

} // namespace

TEST(ExifCorpus, EveryWriteKeepsTheRestOfEveryCameraFile)
{
    const QString corpus = QStringLiteral(ZENTROVA_TESTDATA "/camera");
    QStringList names = QDir(corpus).entryList({"*.jpg", "*.JPG"}, QDir::Files, QDir::Name);
    ASSERT_EQ(names.size(), 27);
    TempHome home;
    QStringList files;
    QMap<QString, QByteArray> original;
    for (const QString& n : names) {
        const QString copy = home.path() + "/" + n;
        ASSERT_TRUE(QFile::copy(corpus + "/" + n, copy));
        files << copy;
        original[copy] = readFile(copy);
    }
    const bool haveExiftool = toolInstalled("exiftool");
    const bool haveExiv2 = toolInstalled("exiv2");
    const QMap<QString, Reading> before = haveExiftool ? exiftool(files) : QMap<QString, Reading>();
    QMap<QString, bool> exiv2Before;
    for (const QString& f : files)
        exiv2Before[f] = haveExiv2 && exiv2Clean(f);

    const QDateTime stamp(QDate(2010, 3, 5), QTime(14, 22, 10));
    struct Step {
        const char* what;
        std::function<bool(const QString&)> run;
        QByteArray comment; // the UserComment afterwards
    };
    const QList<Step> steps = {
        {"add Holiday", [](const QString& f) { return ExifTagUtil::addImageAlbumTag(f, "Holiday"); }, "TolvexAlbumTags:Holiday"},
        {"add Family", [](const QString& f) { return ExifTagUtil::addImageAlbumTag(f, "Family"); }, "TolvexAlbumTags:Holiday,Family"},
        {"remove Holiday", [](const QString& f) { return ExifTagUtil::removeImageAlbumTag(f, "Holiday"); }, "TolvexAlbumTags:Family"},
        {"stamp a date", [&](const QString& f) { return ImageDateTime::setImageDateTime(f, stamp); }, "TolvexAlbumTags:Family"},
    };
    for (const Step& step : steps) {
        for (const QString& f : files) {
            SCOPED_TRACE(QString("%1 on %2").arg(step.what, QFileInfo(f).fileName()).toStdString());
            ASSERT_TRUE(step.run(f));
            const QByteArray now = readFile(f);
            EXPECT_EQ(withoutExif(now), withoutExif(original[f])) << "bytes outside the EXIF APP1 changed";
            const QByteArray oldTiff = tiffOf(corpus + "/" + QFileInfo(f).fileName());
            const QByteArray newTiff = tiffOf(f);
            EXPECT_EQ(newTiff.left(2), oldTiff.isEmpty() ? QByteArray("II") : oldTiff.left(2)) << "byte order";
            uint16_t type = 0;
            EXPECT_EQ(fieldValue(f, ExifTag::USER_COMMENT, &type), step.comment);
            EXPECT_EQ(type, TiffType::BYTE);
            if (QByteArray(step.what) == "stamp a date") {
                EXPECT_EQ(fieldValue(f, ExifTag::CREATE_DATE), QByteArray("2010:03:05 14:22:10"));
                EXPECT_EQ(fieldValue(f, ExifTag::DATE_TIME_ORIGINAL), QByteArray("2010:03:05 14:22:10"));
                EXPECT_EQ(ImageDateTime(f).getCalendar(), stamp);
            }
            if (haveExiv2 && exiv2Before[f]) {
                EXPECT_TRUE(exiv2Clean(f)) << "exiv2 reports an error";
            }
        }
        if (!haveExiftool)
            continue;
        const QMap<QString, Reading> after = exiftool(files);
        for (const QString& f : files) {
            SCOPED_TRACE(QString("%1 on %2").arg(step.what, QFileInfo(f).fileName()).toStdString());
            const Reading& b = before[f];
            const Reading& a = after[f];
            for (auto it = b.tags.begin(); it != b.tags.end(); ++it) {
                if (!ours(it.key())) {
                    EXPECT_EQ(a.tags.value(it.key(), "<missing>").toStdString(), it.value().toStdString()) << it.key().toStdString();
                }
            }
            for (auto it = a.tags.begin(); it != a.tags.end(); ++it) {
                if (!ours(it.key())) {
                    EXPECT_TRUE(b.tags.contains(it.key())) << "new tag " << it.key().toStdString();
                }
            }
            EXPECT_FALSE(a.errors && !b.errors) << "exiftool validation reports an error";
            // A block we create holds only our fields, so a validator misses the tags a camera writes.
            const bool hadExifDirectory = [&] {
                TiffBlock t;
                return t.parse(tiffOf(corpus + "/" + QFileInfo(f).fileName())) && t.directory(IfdKind::EXIF);
            }();
            for (const QString& w : a.warnings) {
                if (!b.warnings.contains(w)) {
                    EXPECT_TRUE(w.contains("UserComment") || (!hadExifDirectory && w.startsWith("Missing required")))
                        << "new warning: " << w.toStdString();
                }
            }
        }
    }

    // Repeated writes replace our own tail instead of appending another one.
    for (const QString& f : files) {
        SCOPED_TRACE(QFileInfo(f).fileName().toStdString());
        const qint64 size = QFileInfo(f).size();
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(f, "Family"));
        EXPECT_EQ(QFileInfo(f).size(), size);
    }
    ExifTagUtil::resetRegistry();
}
