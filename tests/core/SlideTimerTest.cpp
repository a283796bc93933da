#include "thread/SlideTimer.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace zentrova;

namespace {

// A display that records what the timer asks of it.
struct FakeDisplay : SlideDisplay {
    mutable std::mutex lock;
    QStringList shown;
    QStringList undecodable;
    bool allCaptions = false, indexCaption = false;
    std::optional<QString> extra;
    std::atomic<int> transitioningPolls{0};

    std::optional<QSize> setFile(const std::optional<QString>& file, int, int) override
    {
        std::lock_guard g(lock);
        shown << file.value_or("<none>");
        if (file && undecodable.contains(*file))
            return std::nullopt;
        return QSize(10, 10);
    }
    bool isTransitioning() const override { return const_cast<FakeDisplay*>(this)->transitioningPolls-- > 0; }
    void setShowAllCaptions(bool on) override { allCaptions = indexCaption = on; }
    void setShowIndex(bool on) override { indexCaption = on; }
    void setAddCaption(const std::optional<QString>& c) override { extra = c; }
    void requestRepaint() override {}
    QStringList seen() const
    {
        std::lock_guard g(lock);
        return shown;
    }
};

QStringList eight()
{
    QStringList files;
    for (int i = 0; i < 8; ++i)
        files << QString("/p/f%1.jpg").arg(i);
    return files;
}

bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < 5000)
        QThread::msleep(1);
    return condition();
}

} // namespace

TEST(SlideTimer, MovesWrapAroundBothEnds)
{
    FakeDisplay pane;
    SlideTimer timer(&pane, eight());
    EXPECT_TRUE(pane.indexCaption);
    struct Case {
        int from;
        int step; // positive: incrementIndex, negative: decrementIndex
        int to;
    };
    for (const Case& c : {Case{5, 10, 7}, Case{6, -100, 2}, Case{0, -1, 7}, Case{3, 8, 3}, Case{7, 1, 0}}) {
        timer.setIndex(c.from);
        if (c.step >= 0)
            timer.incrementIndex(c.step);
        else
            timer.decrementIndex(-c.step);
        EXPECT_EQ(timer.getIndex(), c.to) << c.from << " by " << c.step;
        EXPECT_EQ(pane.seen().last(), QString("/p/f%1.jpg").arg(c.to));
    }
    timer.scrollToEnd();
    EXPECT_EQ(timer.getIndex(), 7);
    timer.scrollToBegining();
    EXPECT_EQ(timer.getIndex(), 0);
    timer.setDelay(500);
    EXPECT_EQ(timer.getDelay(), 1000);
    timer.setDelay(3000);
    EXPECT_EQ(timer.getDelay(), 3000);
}

TEST(SlideTimer, TheLoopAdvancesWrapsAndSurvivesUndecodableFiles)
{
    FakeDisplay pane;
    pane.undecodable = {"/p/f1.jpg"};
    SlideTimer timer(&pane, {"/p/f0.jpg", "/p/f1.jpg", "/p/f2.jpg"});
    timer.setTimeScale(0.001);
    timer.setIndex(1); // not started: the first pass shows the next file
    timer.start();
    ASSERT_TRUE(waitFor([&] { return pane.seen().size() >= 5; }));
    timer.setDone(true);
    ASSERT_TRUE(timer.wait(5000));
    EXPECT_EQ(pane.seen().mid(0, 5), (QStringList{"/p/f2.jpg", "/p/f0.jpg", "/p/f1.jpg", "/p/f2.jpg", "/p/f0.jpg"}));
}

TEST(SlideTimer, SetDoneEndsLongSleepsAtOnceAndAnEmptyListEndsTheLoop)
{
    FakeDisplay pane;
    pane.transitioningPolls = 1000000; // the display keeps "animating"
    SlideTimer timer(&pane, eight());
    timer.setDelay(60000);
    timer.start();
    ASSERT_TRUE(waitFor([&] { return !pane.seen().isEmpty(); }));
    timer.setDone(true);
    EXPECT_TRUE(timer.wait(2000)) << "a 60 s sleep was not cut short";

    FakeDisplay empty;
    SlideTimer none(&empty, {});
    none.start();
    EXPECT_TRUE(none.wait(2000));
    EXPECT_TRUE(empty.seen().isEmpty());
}

TEST(SlideTimer, PauseSwitchesTheCaptions)
{
    FakeDisplay pane;
    SlideTimer timer(&pane, eight());
    timer.setPaused(true);
    EXPECT_TRUE(pane.allCaptions);
    EXPECT_EQ(pane.extra, "Paused press <SpaceBar> to continue");
    timer.setPaused(false);
    EXPECT_FALSE(pane.allCaptions);
    EXPECT_TRUE(pane.indexCaption);
    EXPECT_FALSE(pane.extra.has_value());
    timer.windowIconified();
    EXPECT_TRUE(timer.isPaused());
    timer.windowDeiconified();
    EXPECT_FALSE(timer.isPaused());
    timer.windowClosing();
    EXPECT_TRUE(timer.isDone());
}

TEST(SlideTimer, PrefixSkipsRemovalsAndSorting)
{
    FakeDisplay pane;
    const QStringList files = {"/p/IMG_0001.jpg", "/p/IMG_0002.jpg", "/p/DSC_0003.jpg", "/p/DSC_0004.jpg"};
    SlideTimer timer(&pane, files);
    timer.setIndex(0);
    timer.skipTillFileNamePrefixChanges(false);
    EXPECT_EQ(timer.getIndex(), 2);
    timer.setIndex(3);
    timer.skipTillFileNamePrefixChanges(true);
    EXPECT_EQ(timer.getIndex(), 1);
    timer.setIndex(2);
    timer.setPaused(true);
    const int shownBefore = int(pane.seen().size());
    timer.skipTillFileNamePrefixChanges(false);
    EXPECT_EQ(timer.getIndex(), 2) << "nothing differs after DSC_0003";
    EXPECT_EQ(int(pane.seen().size()), shownBefore);
    EXPECT_TRUE(timer.isPaused()) << "the paused state is what it was";
    timer.setPaused(false);
    EXPECT_EQ(SlideTimer::prefixOf("/x/ab.jpg"), "ab.j");
    EXPECT_EQ(SlideTimer::prefixOf("/x/abc"), "abc");

    timer.decrementIndex(4); // index 2, moving backwards
    timer.setIndex(0);
    timer.removeFile("/p/IMG_0001.jpg");
    EXPECT_EQ(timer.getIndex(), 0);
    EXPECT_EQ(timer.getIndexedFile(), "/p/IMG_0002.jpg");
    timer.scrollToEnd(); // moving forwards, at the last file
    timer.removeFile("/p/DSC_0004.jpg");
    EXPECT_EQ(timer.getIndexedFile(), "/p/DSC_0003.jpg");
    EXPECT_FALSE(timer.isPaused());

    timer.setIndex(0); // IMG_0002
    timer.sort(0); // by name: DSC_0003, IMG_0002
    EXPECT_EQ(timer.getFiles(), (QStringList{"/p/DSC_0003.jpg", "/p/IMG_0002.jpg"}));
    EXPECT_EQ(timer.getIndexedFile(), "/p/IMG_0002.jpg");
    EXPECT_TRUE(timer.isPaused());

    timer.removeFile("/p/DSC_0003.jpg");
    timer.removeFile("/p/IMG_0002.jpg");
    EXPECT_FALSE(timer.getIndexedFile().has_value());
    timer.incrementIndex(3); // nothing to move over
    EXPECT_EQ(timer.setFiles({"/p/a.jpg"}), QStringList{"/p/a.jpg"});
    EXPECT_EQ(timer.getIndexedFile(), "/p/a.jpg");
}
