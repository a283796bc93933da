#include "TempHome.h"
#include "event/ListenerList.h"
#include "thread/InterruptibleSleep.h"
#include "thread/WorkerThread.h"
#include "util/AtomicFile.h"
#include "util/DeleteOnExit.h"
#include "util/FileUtil.h"
#include "util/ProgressTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace zentrova;
using zentrova::test::readFile;

namespace {
struct RecordingBar : ProgressTarget {
    int minimum = -1, maximum = -1, value = -1, values = 0;
    bool indeterminate = false;
    void setDeterminate(int mn, int mx, int v) override { minimum = mn, maximum = mx, value = v; }
    void setValue(int v) override { value = v, ++values; }
    void setIndeterminate(bool on) override { indeterminate = on; }
};

class FileUtilTest : public zentrova::test::TempHomeTest {
protected:
    QString p(const QString& name) const { return home.path() + "/" + name; }
};
} // namespace

TEST_F(FileUtilTest, CopyStreamsKeepsTimeAndReportsProgress)
{
    QByteArray data(10000, 'x');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    const QString src = home.write("src.jpg", data);
    const QDateTime when(QDate(2009, 6, 5), QTime(12, 0, 0));
    {
        QFile f(src);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    home.write("dest.jpg", QByteArray(20000, 'o'));
    RecordingBar bar;
    QString error;
    ASSERT_TRUE(FileUtil::copyFile(src, p("dest.jpg"), &bar, &error)) << error.toStdString();
    EXPECT_EQ(readFile(p("dest.jpg")), data) << "an existing destination is truncated first";
    EXPECT_EQ(QFileInfo(p("dest.jpg")).lastModified(), when);
    EXPECT_EQ(bar.minimum, 0);
    EXPECT_EQ(bar.maximum, 10000);
    EXPECT_EQ(bar.value, 10000);
    EXPECT_EQ(bar.values, 3); // 4096 + 4096 + 1808

    const QString empty = home.write("empty.png", {});
    RecordingBar emptyBar;
    ASSERT_TRUE(FileUtil::copyFile(empty, p("empty-copy.png"), &emptyBar));
    EXPECT_TRUE(QFileInfo::exists(p("empty-copy.png")));
    EXPECT_EQ(emptyBar.maximum, 0);
}

TEST_F(FileUtilTest, CopyErrorsCarryThePlatformText)
{
    QString error;
    EXPECT_FALSE(FileUtil::copyFile(p("missing.jpg"), p("out.jpg"), nullptr, &error));
    EXPECT_EQ(error, p("missing.jpg") + " (No such file or directory)");
    EXPECT_FALSE(QFileInfo::exists(p("out.jpg")));
    const QString src = home.write("a.jpg", "abc");
    EXPECT_FALSE(FileUtil::copyFile(src, p("no/such/folder/a.jpg"), nullptr, &error));
    EXPECT_EQ(error, p("no/such/folder/a.jpg") + " (No such file or directory)");
}

TEST_F(FileUtilTest, CopyOntoItselfIsRefusedAndTheSourceSurvives)
{
    const QString src = home.write("self.jpg", "precious");
    ASSERT_EQ(::link(QFile::encodeName(src).constData(), QFile::encodeName(p("hardlink.jpg")).constData()), 0);
    ASSERT_TRUE(QFile::link(src, p("symlink.jpg")));
    for (const QString& target : {src, p("./self.jpg"), p("hardlink.jpg"), p("symlink.jpg")}) {
        QString error;
        EXPECT_FALSE(FileUtil::copyFile(src, target, nullptr, &error)) << target.toStdString();
        EXPECT_EQ(error, "Cannot copy a file onto itself: " + src);
        EXPECT_EQ(readFile(src), "precious");
    }
    EXPECT_FALSE(FileUtil::moveFile(src, p("hardlink.jpg")));
    EXPECT_EQ(readFile(src), "precious");
}

TEST_F(FileUtilTest, MoveIsCopyThenDelete)
{
    const QString src = home.write("in/a.jpg", "data");
    RecordingBar bar;
    ASSERT_TRUE(FileUtil::moveFile(src, p("b.jpg"), &bar));
    EXPECT_FALSE(QFileInfo::exists(src));
    EXPECT_EQ(readFile(p("b.jpg")), "data");
    EXPECT_TRUE(bar.indeterminate);


    // Nobody, root included, may delete a file of /proc: the copy must stay and the move fail.
    const QString undeletable = QStringLiteral("/proc/version");
    QString error;
    EXPECT_FALSE(FileUtil::moveFile(undeletable, p("version"), nullptr, &error));
    EXPECT_EQ(error, "Cannot remove soucre file: version");
    EXPECT_TRUE(QFileInfo::exists(undeletable));
    EXPECT_EQ(readFile(p("version")), readFile(undeletable));
}

TEST_F(FileUtilTest, RemoveDirectory)
{
    const QString file = home.write("plain.jpg", "x");
    EXPECT_FALSE(FileUtil::removeDirectory(file));
    EXPECT_TRUE(QFileInfo::exists(file));
    QDir().mkpath(p("empty"));
    EXPECT_TRUE(FileUtil::removeDirectory(p("empty")));
    EXPECT_FALSE(QFileInfo::exists(p("empty")));
    home.write("tree/a/b/c.jpg", "x");
    home.write("tree/.hidden", "x");
    EXPECT_TRUE(FileUtil::removeDirectory(p("tree")));
    EXPECT_FALSE(QFileInfo::exists(p("tree")));

    // A link inside the tree goes as a link; what it points at stays.
    home.write("outside/keep.jpg", "x");
    QDir().mkpath(p("linked"));
    ASSERT_TRUE(QFile::link(p("outside"), p("linked/out")));
    EXPECT_TRUE(FileUtil::removeDirectory(p("linked")));
    EXPECT_TRUE(QFileInfo::exists(p("outside/keep.jpg")));
}

TEST_F(FileUtilTest, AtomicWriteReplacesWholeAndKeepsPermissions)
{
    const QString target = home.write("settings.bin", "old");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    ASSERT_TRUE(QFile::link(target, p("link.bin")));
    ASSERT_TRUE(AtomicFile::writeAll(p("link.bin"), "new content"));
    EXPECT_TRUE(QFileInfo(p("link.bin")).isSymLink()) << "the link stays a link";
    EXPECT_EQ(readFile(target), "new content");
    struct stat st {};
    ::stat(QFile::encodeName(target).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    {
        AtomicFile abandoned(target);
        ASSERT_TRUE(abandoned.open());
        ASSERT_TRUE(abandoned.write("half"));
    }
    EXPECT_EQ(readFile(target), "new content") << "an uncommitted write changes nothing";
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "and leaves no temporary file";
}

TEST_F(FileUtilTest, DeleteOnExitRemovesRegisteredPaths)
{
    const QString a = home.write("a.tmp", "x");
    DeleteOnExit::add(a);
    DeleteOnExit::add(a);
    EXPECT_TRUE(DeleteOnExit::contains(a));
    DeleteOnExit::removeAll();
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_FALSE(DeleteOnExit::contains(a));
}

TEST(ListenerList, OrderedWithoutDuplicatesAndSafeWhileNotifying)
{
    struct L {
        int id;
    } a{1}, b{2}, c{3};
    ListenerList<L> list;
    list.add(&a);
    list.add(&b);
    list.add(&a);
    list.add(nullptr);
    std::vector<int> order;
    list.notify([&](L* l) {
        order.push_back(l->id);
        list.add(&c); // joins for the next notification
        list.remove(&b);
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    order.clear();
    list.notify([&](L* l) { order.push_back(l->id); });
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

TEST(Threads, NamedWorkerAndSleepCutShort)
{
    InterruptibleSleep sleep;
    QString seenName;
    WorkerThread worker(QStringLiteral("ZentrovaFrame-loadFiles_0"), [&] {
        seenName = QThread::currentThread()->objectName();
        sleep.sleepFor(std::chrono::hours(1));
    });
    worker.start();
    QThread::msleep(20);
    sleep.setDone();
    ASSERT_TRUE(worker.wait(30000)) << "an hour's sleep must end at setDone";
    EXPECT_EQ(seenName, "ZentrovaFrame-loadFiles_0");
    EXPECT_FALSE(sleep.sleepFor(std::chrono::milliseconds(1))) << "a done sleep stays cut short";
    sleep.reset();
    EXPECT_TRUE(sleep.sleepFor(std::chrono::milliseconds(1)));
}
