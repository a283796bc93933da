#include "TempHome.h"
#include "util/AppLog.h"
#include "util/AppPaths.h"
#include "util/CommandLine.h"
#include "util/DateText.h"
#include "util/DialogFolders.h"
#include "util/MainSettings.h"
#include "util/ProgressCaption.h"
#include "util/RuntimeInfo.h"
#include "util/ScalingSettings.h"
#include "util/StartDir.h"
#include "util/ValueFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <thread>

using namespace zentrova;
using zentrova::test::readFile;

class AppFolderTest : public zentrova::test::TempHomeTest {};

TEST_F(AppFolderTest, FirstStartMakesFoldersAndDefaultSettingsOnly)
{
    QString failed;
    ASSERT_TRUE(AppPaths::setUp(&failed));
    EXPECT_TRUE(QFileInfo(home.path() + "/tolvex").isDir());
    EXPECT_TRUE(QFileInfo(home.path() + "/tolvex/tmp").isDir());
    MainSettings settings;
    settings.loadProps();
    EXPECT_EQ(settings.all(), (Properties{{"lastdir", home.path()}}));
    EXPECT_EQ(QDir(home.path() + "/tolvex").entryList(QDir::Files), QStringList{"Zentrova.props"});
    const QByteArray xml = readFile(home.path() + "/tolvex/Zentrova.props");
    EXPECT_TRUE(xml.contains("<entry key=\"lastdir\">" + home.path().toUtf8() + "</entry>"));
    EXPECT_EQ(settings.value("lastimportdir"), home.path());
    EXPECT_EQ(settings.value("logging"), "false");
    EXPECT_FALSE(settings.value("lastfile").has_value());
}

TEST_F(AppFolderTest, LeftoversInTmpAreRemovedAtTheNextStart)
{
    home.write("tolvex/tmp/left.jpg", "x");
    home.write("tolvex/tmp/unpacked/deep/a.png", "y");
    ASSERT_TRUE(AppPaths::setUp(nullptr));
    EXPECT_TRUE(QDir(home.path() + "/tolvex/tmp").isEmpty());
}

TEST_F(AppFolderTest, AFolderThatCannotBeMadeIsNamed)
{
    home.write("tolvex", "a file where the folder should be");
    QString failed;
    EXPECT_FALSE(AppPaths::setUp(&failed));
    EXPECT_EQ(failed, home.path() + "/tolvex");
}

TEST_F(AppFolderTest, PropsThatAreNotXmlGiveDefaultsAndStayUntouched)
{
    const QString file = home.write("tolvex/Zentrova.props", "lastdir=/not/xml\n");
    MainSettings settings;
    settings.loadProps();
    EXPECT_TRUE(settings.all().isEmpty());
    EXPECT_EQ(settings.value("lastdir"), home.path());
    EXPECT_EQ(readFile(file), "lastdir=/not/xml\n");
    settings.setValue("logging", "true");
    MainSettings again;
    again.loadProps();
    EXPECT_EQ(again.all(), (Properties{{"logging", "true"}}));
}

TEST_F(AppFolderTest, StartDirRules)
{
    ASSERT_TRUE(AppPaths::setUp(nullptr));
    EXPECT_FALSE(StartDir::loadStartDir().has_value());
    const QString photos = home.path() + "/Photos";
    QDir().mkpath(photos);
    StartDir::setStartUpDir(photos);
    ASSERT_TRUE(StartDir::storeStartDir());
    EXPECT_EQ(StartDir::loadStartDir(), photos);
    EXPECT_EQ(StartDir::startUpDir(), photos);

    QDir(photos).removeRecursively();
    EXPECT_FALSE(StartDir::loadStartDir().has_value());
    EXPECT_TRUE(QFileInfo::exists(AppPaths::STARTDIR_FILE)) << "a stale start folder leaves its file alone";
    EXPECT_FALSE(StartDir::storeStartDir()) << "a folder that no longer exists is not stored";

    home.write("tolvex/Zentrova.startdir", "garbage");
    EXPECT_FALSE(StartDir::loadStartDir().has_value());
    EXPECT_TRUE(StartDir::removeStartDirFile());
    EXPECT_FALSE(QFileInfo::exists(AppPaths::STARTDIR_FILE));
}

TEST_F(AppFolderTest, ImportAndRenameDialogFolders)
{
    ASSERT_TRUE(AppPaths::setUp(nullptr));
    // Import: a missing file is written at once with the home folder.
    EXPECT_EQ(DialogFolders::importChooserFolder(), home.path());
    EXPECT_EQ(ValueFile::readText(AppPaths::IMPORT_DIR_FILE), home.path());
    const QString dest = home.path() + "/Import/2010";
    QDir().mkpath(dest);
    DialogFolders::storeImportDestination(dest);
    EXPECT_EQ(DialogFolders::importChooserFolder(), home.path() + "/Import");
    QDir(home.path() + "/Import").removeRecursively();
    EXPECT_EQ(DialogFolders::importChooserFolder(), home.path());

    // Rename: nothing written on reading; the chooser opens in the parent of the remembered folder.
    EXPECT_EQ(DialogFolders::renameOutputFolder(), home.path());
    EXPECT_FALSE(QFileInfo::exists(AppPaths::RENAME_DIR_FILE));
    const QString out = home.path() + "/Renamed/Out";
    DialogFolders::storeRenameOutputFolder(out);
    EXPECT_FALSE(QFileInfo::exists(AppPaths::RENAME_DIR_FILE)) << "a folder that does not exist is not stored";
    QDir().mkpath(out);
    DialogFolders::storeRenameOutputFolder(out);
    EXPECT_EQ(DialogFolders::renameOutputFolder(), out);
    EXPECT_EQ(DialogFolders::renameChooserFolder(), home.path() + "/Renamed");
}

TEST_F(AppFolderTest, ScalingSettingsDefaultsAndRoundTrip)
{
    ScalingSettings::loadForDialog();
    EXPECT_EQ(ScalingSettings::value(ScalingSettings::LAST_MONITOR_DIR), home.path());
    const QByteArray first = readFile(AppPaths::SCALING_PROPS_FILE);
    EXPECT_TRUE(first.startsWith("#Properties for ScaleMonitor\n#"));
    ScalingSettings::setValue(ScalingSettings::LAST_OUTPUT_DIR, "C:\\Photos\\Sm\u00e5");
    EXPECT_TRUE(readFile(AppPaths::SCALING_PROPS_FILE).contains("lastOutputDir=C\\:\\\\Photos\\\\Sm\\u00E5"));
    ScalingSettings::setValue(ScalingSettings::LAST_OUTPUT_DIR, "changed in memory only");
    home.write("tolvex/ScalingDialog.props", "lastOutputDir=D\\:\\\\Out\n");
    ScalingSettings::loadForDialog();
    EXPECT_EQ(ScalingSettings::value(ScalingSettings::LAST_OUTPUT_DIR), "D:\\Out");
}

TEST(CommandLine, LongestReadableFolderWins)
{
    zentrova::test::TempHome home;
    QDir().mkpath(home.path() + "/a");
    QDir().mkpath(home.path() + "/a b");
    home.write("file", "x");
    const QString base = home.path();
    EXPECT_EQ(CommandLine::findFolder({base + "/a", "b"}), base + "/a b");
    EXPECT_EQ(CommandLine::findFolder({base + "/a", "c"}), base + "/a");
    EXPECT_EQ(CommandLine::findFolder({base + "/file"}), std::nullopt);
    EXPECT_EQ(CommandLine::findFolder({}), std::nullopt);
    const QString cwd = QDir::currentPath();
    QDir().mkpath(base + "/My Photos");
    QDir::setCurrent(base);
    EXPECT_EQ(CommandLine::findFolder({"My", "Photos"}), base + "/My Photos");
    QDir::setCurrent(cwd);
}

TEST(DateText, EnglishFormWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German));
    const QDateTime when(QDate(2025, 12, 9), QTime(12, 21, 7), QTimeZone::utc());
    EXPECT_EQ(DateText::format(when), "Tue Dec 09 12:21:07 UTC 2025");
    EXPECT_EQ(DateText::format(QDateTime(QDate(2009, 6, 5), QTime(3, 4, 5), QTimeZone::utc())),
              "Fri Jun 05 03:04:05 UTC 2009");
    QLocale::setDefault(QLocale::c());
}

TEST(AppLog, EntriesNeverInterleave)
{
    EXPECT_EQ(AppLog::entryFor("D", "message"), "D:\nmessage\n\n");
    const QString before = AppLog::text();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i)
                AppLog::logMessage(QStringLiteral("thread %1 line %2").arg(t).arg(i));
        });
    for (auto& th : threads)
        th.join();
    const QStringList entries = AppLog::text().mid(before.size()).split("\n\n", Qt::SkipEmptyParts);
    ASSERT_EQ(entries.size(), 200);
    for (const QString& e : entries)
        EXPECT_TRUE(QRegularExpression("^\\w{3} \\w{3} \\d\\d \\d\\d:\\d\\d:\\d\\d \\S+ \\d{4}:\\nthread \\d line \\d+$")
                        .match(e)
                        .hasMatch())
            << e.toStdString();
}

TEST(ProgressCaption, PercentValueOfMaximum)
{
    const QLocale en(QLocale::English);
    EXPECT_EQ(ProgressCaption::caption(3, 12, en), "25% 3 of 12");
    EXPECT_EQ(ProgressCaption::caption(0, 7, en), "0% 0 of 7");
    EXPECT_EQ(ProgressCaption::caption(1, 8, en), "12% 1 of 8"); // 12.5 rounds half to even
    EXPECT_EQ(ProgressCaption::caption(12, 12, en), "100% 12 of 12");
}

TEST(RuntimeInfo, ArgumentsAndStartDirectory)
{
    const QString none = RuntimeInfo::text({}, std::nullopt);
    EXPECT_TRUE(none.endsWith("COMMANDLINE ARGUMENTS:\n    No arguments supplied\n")) << none.toStdString();
    EXPECT_TRUE(none.contains("\nOPERATING SYSTEM INFO\n    Operating system name: Linux\n"));
    EXPECT_TRUE(none.contains("    Version ........ "));
    EXPECT_TRUE(none.contains("    Max Available Memory ..... "));
    const QString some = RuntimeInfo::text({"My", "Photos"}, QStringLiteral("/x/My Photos"));
    EXPECT_TRUE(some.endsWith("    Arg0 = My\n    Arg1 = Photos\n\nSTART DIRECTORY:\n  /x/My Photos\n"));
    EXPECT_EQ(RuntimeInfo::toMegabytes(1 << 19), 1);
    EXPECT_EQ(RuntimeInfo::toMegabytes((1 << 19) - 1), 0);
}
