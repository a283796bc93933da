#include "ImageFixtures.h"
#include "ScriptedPrompter.h"
#include "util/Prompter.h"
#include "TempHome.h"
#include "image/ExifFile.h"
#include "image/ExifTagUtil.h"
#include "util/ProgressTarget.h"
#include "util/ValueFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace zentrova;
using namespace zentrova::test;

namespace {

struct UserComment {
    uint16_t type = 0;
    QByteArray value;
};

std::optional<UserComment> userComment(const QString& path)
{
    ExifFile::Contents c;
    if (!ExifFile::read(path, &c) || !c.hasExif)
        return std::nullopt;
    const TiffEntry* e = c.block.findFirst(ExifTag::USER_COMMENT);
    if (!e)
        return std::nullopt;
    return UserComment{e->type, c.block.value(*e)};
}

ino_t inodeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

struct RecordingBar : ProgressTarget {
    QStringList events;
    void setDeterminate(int minimum, int maximum, int value) override { events << QString("range %1-%2 at %3").arg(minimum).arg(maximum).arg(value); }
    void setValue(int value) override { events << QString("value %1").arg(value); }
    void setIndeterminate(bool on) override { events << (on ? "indeterminate" : "determinate"); }
    void setString(const QString& text) override { events << "text " + text; }
    void setStringPainted(bool on) override { events << (on ? "text shown" : "text hidden"); }
};

struct TagListRecorder : TagListListener {
    QList<QStringList> lists;
    void tagListChanged(const TagListEvent& e) override { lists << e.getTagList(); }
};

struct ConversionRecorder : FileConversionListener {
    QStringList files;
    void handleFileConversion(const FileConversionEvent& e) override { files << e.getConvertedFile(); }
};

class ExifTags : public TempHomeTest {
protected:
    void SetUp() override { ExifTagUtil::resetRegistry(); }
    void TearDown() override
    {
        ExifTagUtil::resetRegistry();
        Prompter::setCurrent(nullptr);
    }
    QString jpeg(const QString& name) { return writeImage(home.path() + "/" + name, gradientImage({24, 16})); }
    QString camera(const QString& name)
    {
        const QString copy = home.path() + "/" + name;
        QFile::copy(ZENTROVA_TESTDATA "/camera/" + name, copy);
        return copy;
    }
};

} // namespace

TEST(ExifTagText, UserCommentValuesDecodeByTypeAndCharacterCode)
{
    struct Case {
        uint16_t type;
        QByteArray value;
        std::optional<QString> text;
    };
    const Case cases[] = {
        {TiffType::ASCII, QByteArray("Hello\0rest", 10), QString("Hello")},
        {TiffType::BYTE, "Short", QString("Short")},
        {TiffType::UNDEFINED, QByteArray("ASCII\0\0\0Hi there", 16), QString("Hi there")},
        {TiffType::UNDEFINED, QByteArray("UNICODE\0", 8) + QString("caf\u00e9").toUtf8(), QString("caf\u00e9")},
        {TiffType::UNDEFINED, QByteArray(8, '\0') + "caf\xe9", QString("caf\u00e9")},
        {TiffType::UNDEFINED, QByteArray("JIS\0\0\0\0\0", 8) + "abc", QString("abc")},
        {TiffType::BYTE, "TolvexAlbumTags:Caf\xc3\xa9", QString("TolvexAlbumTags:Caf\ufffd\ufffd")},
        {TiffType::SHORT, "ab", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EXPECT_EQ(ExifTagUtil::decodeUserComment(c.type, c.value), c.text);
    }
}

TEST(ExifTagText, AlbumNamesComeOnlyFromTheMarker)
{
    struct Case {
        const char* comment;
        QStringList names;
    };
    const Case cases[] = {
        {"TolvexAlbumTags:Holiday,Family", {"Holiday", "Family"}},
        {"TolvexAlbumTags:A,,B,A", {"A", "B"}},
        {"TolvexAlbumTags:", {}},
        {"TolvexAlbumTags:,,,", {}},
        {"TolvexAlbumTags:Holiday,holiday", {"Holiday", "holiday"}},
        {"TolvexAlbumTags: padded ", {" padded "}},
        {"curve: fotogenics point and shoot", {}},
        {"tolvexalbumtags:Holiday", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExifTagUtil::albumNamesIn(c.comment), c.names) << c.comment;
    EXPECT_EQ(ExifTagUtil::albumCommentFor({"Holiday", "Family"}), "TolvexAlbumTags:Holiday,Family");
}

TEST_F(ExifTags, AddingAndRemovingWritesTheFieldAsBytes)
{
    const QString f = jpeg("a.jpg");
    EXPECT_TRUE(ExifTagUtil::getAlbumTags(f).isEmpty());
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(f, "Holiday"));
    EXPECT_EQ(userComment(f)->type, TiffType::BYTE);
    EXPECT_EQ(userComment(f)->value, "TolvexAlbumTags:Holiday"); // count 23
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(f, "  Family "));
    EXPECT_EQ(userComment(f)->value, "TolvexAlbumTags:Holiday,Family"); // count 30

    const ino_t before = inodeOf(f);
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(f, "Holiday"));
    EXPECT_NE(inodeOf(f), before) << "a re-add still rewrites the file";
    EXPECT_EQ(userComment(f)->value, "TolvexAlbumTags:Holiday,Family");

    ASSERT_TRUE(ExifTagUtil::removeImageAlbumTag(f, "Holiday"));
    ASSERT_TRUE(ExifTagUtil::removeImageAlbumTag(f, "Family"));
    EXPECT_EQ(userComment(f)->value, "TolvexAlbumTags:");
    EXPECT_EQ(ExifTagUtil::getUntagged({f}), QStringList{f});
    EXPECT_EQ(ExifTagUtil::getTags(), (QStringList{"All Files", "Untagged", "Favorites", "Family", "Holiday"}));
    // No temporary file is left beside the picture.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{"a.jpg"});
}

TEST_F(ExifTags, CameraCommentsAreNotAlbumsAndGetReplaced)
{
    const QString added = camera("NikonD70.jpg");
    EXPECT_TRUE(ExifTagUtil::readImageUserComment(added)->startsWith("curve: fotogenics"));
    EXPECT_TRUE(ExifTagUtil::getAlbumTags(added).isEmpty());
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(added, "Holiday"));
    EXPECT_EQ(ExifTagUtil::getAlbumTags(added), QStringList{"Holiday"});

    const QString removed = camera("Ricoh2.jpg");
    ASSERT_TRUE(ExifTagUtil::removeImageAlbumTag(removed, "Holiday"));
    EXPECT_EQ(userComment(removed)->value, "TolvexAlbumTags:");
    EXPECT_FALSE(ExifTagUtil::removeImageAlbumTag(home.path() + "/x.png", "Holiday"));
}

TEST_F(ExifTags, NamesBeyondAsciiDoNotComeBack)
{
    const QString f = jpeg("a.jpg");
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(f, "Caf\u00e9"));
    EXPECT_EQ(ExifTagUtil::getAlbumTags(f), QStringList{"Caf\ufffd\ufffd"});
    EXPECT_TRUE(ExifTagUtil::filterFilesOn({f}, "Caf\u00e9").isEmpty());
}

TEST_F(ExifTags, FilteringKeepsInputOrderAndReportsProgress)
{
    const QString a = jpeg("a.jpg"), b = jpeg("b.jpg"), c = jpeg("c.jpg");
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(c, "Holiday"));
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(a, "Holiday"));
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(b, "holiday"));
    RecordingBar bar;
    EXPECT_EQ(ExifTagUtil::filterFilesOn({a, b, c}, "Holiday", &bar), (QStringList{a, c}));
    EXPECT_EQ(bar.events.mid(0, 5), (QStringList{"indeterminate", "text shown", "determinate", "text Filtering files on tag: Holiday",
                                                 "range 0-3 at 1"}));
    EXPECT_EQ(bar.events.last(), "range 0-3 at 3");

    const QString d = jpeg("d.jpg");
    RecordingBar untagged;
    EXPECT_EQ(ExifTagUtil::filterFilesOn({d, a}, "UNTAGGED", &untagged), QStringList{d});
    EXPECT_TRUE(untagged.events.contains("text Filtering files for untagged"));

    RecordingBar batch;
    EXPECT_EQ(ExifTagUtil::albumTagAllFiles({a, d, home.path() + "/missing.jpg"}, "Trip", &batch), 2);
    EXPECT_EQ(batch.events, (QStringList{"range 0-3 at 0", "value 1", "value 2", "value 3"}));
    EXPECT_EQ(ExifTagUtil::albumUntagAllFiles({a, d}, "Trip"), 2);
    EXPECT_EQ(ExifTagUtil::getAlbumTags(a), QStringList{"Holiday"});
}

TEST_F(ExifTags, RegistryRefusesReservedNamesAndAnnouncesSortedLists)
{
    TagListRecorder recorder;
    ExifTagUtil::addTagChangelistener(&recorder);
    ExifTagUtil::addTagChangelistener(&recorder);
    for (const char* reserved : {"favorites", "ALL FILES", "untagged"})
        EXPECT_FALSE(ExifTagUtil::addTag(reserved)) << reserved;
    EXPECT_TRUE(ExifTagUtil::addTag("zoo"));
    EXPECT_FALSE(ExifTagUtil::addTag("zoo"));
    EXPECT_TRUE(ExifTagUtil::addAllTags({"Beach", "zoo", "Favorites", "apple"}));
    EXPECT_FALSE(ExifTagUtil::addAllTags({"Beach", "FAVORITES"}));
    ASSERT_EQ(recorder.lists.size(), 2);
    EXPECT_EQ(recorder.lists.last(), (QStringList{"All Files", "Untagged", "Favorites", "apple", "Beach", "zoo"}));
    EXPECT_TRUE(ExifTagUtil::removeTag("Beach"));
    EXPECT_FALSE(ExifTagUtil::removeTag("Beach"));
    EXPECT_EQ(recorder.lists.size(), 3);

    const QString file = home.path() + "/Zentrova.tags";
    ASSERT_TRUE(ExifTagUtil::storeTagList(file));
    EXPECT_EQ(ValueFile::readTextList(file), (QStringList{"apple", "zoo"}));
    ASSERT_TRUE(ValueFile::writeTextList(file, {"b", "A"}));
    EXPECT_TRUE(ExifTagUtil::loadTagList(file));
    EXPECT_EQ(ExifTagUtil::getTags().mid(3), (QStringList{"A", "b"}));
    EXPECT_FALSE(ExifTagUtil::loadTagList(home.path() + "/none.tags"));
    EXPECT_EQ(ExifTagUtil::getTags().mid(3), (QStringList{"A", "b"})) << "a missing file changes nothing";
    home.write("broken.tags", "not a value file");
    EXPECT_FALSE(ExifTagUtil::loadTagList(home.path() + "/broken.tags"));
    EXPECT_EQ(ExifTagUtil::getTags(), ExifTagUtil::DEFAULT_TAGS);
}

TEST_F(ExifTags, LoadingNamesFromFilesRegistersEachOnce)
{
    const QString a = jpeg("a.jpg"), b = jpeg("b.jpg");
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(a, "Sea"));
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(b, "Hills"));
    ASSERT_TRUE(ExifTagUtil::addImageAlbumTag(b, "Sea"));
    ExifTagUtil::resetRegistry();
    ExifTagUtil::loadTagsFromFiles({a, b});
    EXPECT_EQ(ExifTagUtil::getTags().mid(3), (QStringList{"Hills", "Sea"}));
}

TEST_F(ExifTags, ConversionPicksAFreeNameAnnouncesAndRemovesTheSource)
{
    ConversionRecorder recorder;
    ExifTagUtil::addFileConversionListener(&recorder);
    const QString taken = jpeg("photo.jpg");
    const QByteArray takenBytes = readFile(taken);
    writeImage(home.path() + "/photo.png", gradientImage({10, 6}));
    EXPECT_EQ(ExifTagUtil::convertToJpg(home.path() + "/photo.png"), home.path() + "/photo_0.jpg");
    writeImage(home.path() + "/photo.png", gradientImage({10, 6}));
    EXPECT_EQ(ExifTagUtil::convertToJpg(home.path() + "/photo.png"), home.path() + "/photo_1.jpg");
    EXPECT_EQ(recorder.files, (QStringList{home.path() + "/photo_0.jpg", home.path() + "/photo_1.jpg"}));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/photo.png"));
    EXPECT_EQ(readFile(taken), takenBytes);
    EXPECT_EQ(QImageReader(home.path() + "/photo_1.jpg").size(), QSize(10, 6));

    home.write("junk.png", "not a picture");
    EXPECT_FALSE(ExifTagUtil::convertToJpg(home.path() + "/junk.png").has_value());
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/junk.png"));
}

TEST_F(ExifTags, TaggingAnotherFormatAsksBeforeConverting)
{
    ScriptedPrompter prompter;
    Prompter::setCurrent(&prompter);
    const QString png = writeImage(home.path() + "/shot.png", gradientImage({8, 8}));
    const QString question = "The file:\n\nshot.png\n\nIs not a JPEG file and cannot be tagged.\nWould you like to convert it?\n\n";
    PromptAnswer no, yes;
    no.choice = Prompter::NO;
    yes.choice = Prompter::YES;
    prompter.expect(Prompt::Kind::Confirm, "Invalid File Type Dialog", no, question);
    EXPECT_FALSE(ExifTagUtil::addImageAlbumTag(png, "Sea"));
    EXPECT_TRUE(QFileInfo::exists(png));
    prompter.expect(Prompt::Kind::Confirm, "Invalid File Type Dialog", yes, question);
    EXPECT_TRUE(ExifTagUtil::addImageAlbumTag(png, "Sea"));
    EXPECT_FALSE(QFileInfo::exists(png));
    EXPECT_EQ(ExifTagUtil::getAlbumTags(home.path() + "/shot.jpg"), QStringList{"Sea"});
    EXPECT_EQ(prompter.pending(), 0);
}

TEST_F(ExifTags, UnreadableJpegsAreRepairedOrSetAside)
{
    // Picture data that is not a JPEG at all, under a JPEG name: re-encoded beside it.
    const QString disguised = home.path() + "/photo.jpg";
    writeImage(home.path() + "/src.png", gradientImage({12, 9}));
    QFile::rename(home.path() + "/src.png", disguised);
    EXPECT_TRUE(ExifTagUtil::getAlbumTags(disguised).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(disguised));
    EXPECT_EQ(QImageReader(home.path() + "/photo_0.jpg").size(), QSize(12, 9));

    const QString junk = home.write("junk.jpg", "garbage, no picture");
    EXPECT_TRUE(ExifTagUtil::getAlbumTags(junk).isEmpty());
    EXPECT_EQ(readFile(junk + ".errored"), "garbage, no picture");
}
