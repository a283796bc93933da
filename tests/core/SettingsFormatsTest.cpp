#include "util/TextProperties.h"
#include "util/ValueFile.h"
#include "util/XmlProperties.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace zentrova;

namespace {
Properties awkwardValues()
{
    return {
        {QStringLiteral("lastOutputDir"), QStringLiteral("C:\\Photos")},
        {QStringLiteral("key with blanks"), QStringLiteral("  leading blanks")},
        {QStringLiteral("a=b:c#d!e"), QStringLiteral("x=y:z#w!v")},
        {QStringLiteral("unicode"), QStringLiteral("Fotos \u00e9t\u00e9 \u65e5\u672c \U0001F600")},
        {QStringLiteral("controls"), QStringLiteral("tab\there\nline\rcr\fform")},
        {QStringLiteral("empty"), QString()},
        {QStringLiteral("trailing"), QStringLiteral("ends with backslash\\")},
    };
}
} // namespace

TEST(TextProperties, RoundTripsEveryEscape)
{
    const Properties props = awkwardValues();
    const QByteArray text = TextProperties::write(props, QStringLiteral("Properties for ScaleMonitor"),
                                                  QDateTime(QDate(2025, 12, 9), QTime(12, 21, 7), QTimeZone::utc()));
    // Only printable ASCII and line ends reach the file.
    for (char c : text)
        ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << int(c);
    const QList<QByteArray> lines = text.split('\n');
    EXPECT_EQ(lines.at(0), "#Properties for ScaleMonitor");
    EXPECT_EQ(lines.at(1), "#Tue Dec 09 12:21:07 UTC 2025");
    EXPECT_TRUE(text.contains("lastOutputDir=C\\:\\\\Photos\n"));
    EXPECT_TRUE(text.contains("key\\ with\\ blanks=\\  leading blanks\n"));
    EXPECT_TRUE(text.contains("a\\=b\\:c\\#d\\!e=x\\=y\\:z\\#w\\!v\n"));
    EXPECT_TRUE(text.contains("\\u00E9"));
    EXPECT_TRUE(text.contains("\\uD83D\\uDE00"));

    Properties back;
    QString error;
    ASSERT_TRUE(TextProperties::read(text, &back, &error)) << error.toStdString();
    EXPECT_EQ(back, props);
}

// Files written by other properties writers, following the format's rules by hand.
TEST(TextProperties, ReadsHandWrittenFiles)
{
    struct Case {
        const char* text;
        Properties expected;
    } cases[] = {
        {"#comment\n!other comment\n\nlastMonitorDir=C\\:\\\\Scans\n", {{"lastMonitorDir", "C:\\Scans"}}},
        {"   indented = value with = sign\r\nsecond:colon\rthird blank separated\n",
         {{"indented", "value with = sign"}, {"second", "colon"}, {"third", "blank separated"}}},
        {"multi = first \\\n      second \\\n   third\n", {{"multi", "first second third"}}},
        {"even\\\\\nnext=1\n", {{"even\\", ""}, {"next", "1"}}},
        {"latin1=\xe9t\xe9\nesc=\\u00e9\\x\n", {{"latin1", QStringLiteral("\u00e9t\u00e9")}, {"esc", QStringLiteral("\u00e9x")}}},
        {"keyonly\n  # not a comment? yes it is\n", {{"keyonly", ""}}},
        {"k=v\\", {{"k", "v"}}},
    };
    for (const Case& c : cases) {
        Properties back;
        QString error;
        ASSERT_TRUE(TextProperties::read(QByteArray(c.text), &back, &error)) << c.text << error.toStdString();
        EXPECT_EQ(back, c.expected) << c.text;
    }
}

TEST(TextProperties, MalformedUnicodeEscapeFailsAndKeepsOldValues)
{
    Properties props{{"kept", "yes"}};
    QString error;
    EXPECT_FALSE(TextProperties::read("a=\\u12G4\n", &props, &error));
    EXPECT_FALSE(TextProperties::read("a=\\u12", &props, &error));
    EXPECT_EQ(error, QStringLiteral("Malformed \\uxxxx encoding."));
    EXPECT_EQ(props, (Properties{{"kept", "yes"}}));
}

TEST(XmlProperties, RoundTripsWithDeclarationDoctypeAndComment)
{
    Properties props = awkwardValues();
    props.remove(QStringLiteral("controls")); // XML 1.0 cannot carry form feeds
    props.insert(QStringLiteral("markup"), QStringLiteral("<a href=\"x\">&amp;'</a>"));
    const QByteArray xml = XmlProperties::write(props, QStringLiteral("ImageTagFrame properties"));
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>"));
    EXPECT_TRUE(xml.contains("<!DOCTYPE properties SYSTEM"));
    EXPECT_TRUE(xml.contains("<comment>ImageTagFrame properties</comment>"));
    EXPECT_TRUE(xml.contains("<entry key=\"lastOutputDir\">C:\\Photos</entry>"));
    Properties back;
    QString error;
    ASSERT_TRUE(XmlProperties::read(xml, &back, &error)) << error.toStdString();
    EXPECT_EQ(back, props);
}

TEST(XmlProperties, ReadsOtherWritersAndRefusesBadDocuments)
{
    // A document as another writer lays it out, with an external DTD that must never be fetched.
    const QByteArray foreign =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!DOCTYPE properties SYSTEM \"http://127.0.0.1:9/never-fetched.dtd\">\n"
        "<properties>\n<comment>ImageTagFrame properties</comment>\n"
        "<entry key=\"lastdir\">/home/anna/Fotos &amp; Filme</entry>\n"
        "<entry key=\"logging\">true</entry>\n<entry key=\"empty\"/>\n</properties>\n";
    Properties back;
    QString error;
    ASSERT_TRUE(XmlProperties::read(foreign, &back, &error)) << error.toStdString();
    EXPECT_EQ(back, (Properties{{"lastdir", "/home/anna/Fotos & Filme"}, {"logging", "true"}, {"empty", ""}}));

    ASSERT_TRUE(XmlProperties::read("<properties><entry key=\"k\">v</entry></properties>", &back, &error));
    EXPECT_EQ(back, (Properties{{"k", "v"}}));

    for (const char* bad : {"not xml at all", "<properties><entry key=\"k\">v</properties>", "<other/>",
                            "<properties><entry>no key</entry></properties>", ""}) {
        Properties kept{{"x", "y"}};
        EXPECT_FALSE(XmlProperties::read(bad, &kept, &error)) << bad;
        EXPECT_EQ(kept, (Properties{{"x", "y"}}));
    }
}

TEST(ValueFile, RoundTripsEachKind)
{
    const QString path = QStringLiteral("/Fotos/\u00e9t\u00e9 2010");
    EXPECT_EQ(ValueFile::decodeText(ValueFile::encodeText(path)), path);
    const QStringList tags{"Holiday", QString(), QStringLiteral("F\u00fcr Oma")};
    EXPECT_EQ(ValueFile::decodeTextList(ValueFile::encodeTextList(tags)), tags);
    EXPECT_EQ(ValueFile::decodeTextList(ValueFile::encodeTextList({})), QStringList());
    const QList<ValueFile::Record> records{{QStringLiteral("IMG_"), true, qint32(2), false}, {}, {qint32(-7)}};
    EXPECT_EQ(ValueFile::decodeRecords(ValueFile::encodeRecords(records)), records);
}

TEST(ValueFile, AnythingUndecodableIsAFailedRead)
{
    const QByteArray good = ValueFile::encodeTextList({"a", "b"});
    QByteArray huge = ValueFile::encodeTextList({});
    huge[6] = char(0x7f); // a count far beyond the bytes that follow
    QByteArray badUtf8 = ValueFile::encodeText("ab");
    badUtf8[10] = char(0xff);
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("ZVAL"),
        good.left(good.size() - 1),       // truncated
        good + 'x',                        // trailing bytes
        ValueFile::encodeText("a"),        // another type
        QByteArray("ZVAL\x02\x02", 6) + good.mid(6), // unknown version
        huge,
        badUtf8,
    };
    for (const QByteArray& bytes : cases) {
        QString error;
        EXPECT_FALSE(ValueFile::decodeTextList(bytes, &error).has_value()) << bytes.toHex().toStdString();
        EXPECT_FALSE(ValueFile::decodeText(bytes, &error).has_value() && bytes != ValueFile::encodeText("a"));
    }
    QByteArray badTag = ValueFile::encodeRecords({{true}});
    badTag[14] = 'Q';
    EXPECT_FALSE(ValueFile::decodeRecords(badTag).has_value());
}
