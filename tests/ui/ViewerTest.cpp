#include "ImageFixtures.h"
#include "TempHome.h"
#include "image/TransitionEffect.h"
#include "ui/ImagePreviewDialog.h"
#include "ui/SlidePane.h"
#include "ui/ThumbnailPanel.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace zentrova;
using namespace zentrova::test;
using namespace zentrova::TransitionEffect;

namespace {

struct Frames {
    std::mutex lock;
    QList<float> percents;
    void attach(SlidePane& pane)
    {
        pane.setFrameObserver([this](float p) {
            std::lock_guard g(lock);
            percents << p;
        });
    }
    int take()
    {
        std::lock_guard g(lock);
        const int n = int(percents.size());
        percents.clear();
        return n;
    }
};

struct Counter : ChangeListener {
    std::atomic<int> changes{0};
    void stateChanged(QObject*) override { ++changes; }
};

class Viewer : public TempHomeTest {
protected:
    QString picture(const QString& name, QSize size, QColor colour = Qt::blue)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return writeImage(home.path() + "/" + name, image);
    }
};

} // namespace

TEST_F(Viewer, TransitionsCountTheirFrames)
{
    const QString a = picture("a.png", {40, 30}, Qt::red), b = picture("b.png", {40, 30}, Qt::green);
    SlidePane pane;
    pane.resize(200, 150);
    pane.setStepDelays(0, 0);
    pane.setDoNotTransition(false);
    Frames frames;
    frames.attach(pane);
    Counter changes;
    pane.addChangeListener(&changes);
    pane.addChangeListener(&changes);

    for (int effect : {TRANSITION_EFFECT_HORIZONTAL, TRANSITION_EFFECT_VERTICAL, TRANSITION_EFFECT_INSIDE_OUT, TRANSITION_EFFECT_OUTSIDE_IN}) {
        pane.setTransEffect(effect);
        pane.setFile(effect % 2 ? a : b);
        pane.waitForTransition();
        EXPECT_EQ(frames.take(), 201) << "effect " << effect << ": 200 steps, then one at exactly 1";
        EXPECT_FLOAT_EQ(pane.getPercent(), 1.0f);
    }
    EXPECT_EQ(pane.getTransitionCount(), 4) << "the count's parity picks the next slide's side";

    pane.setTransEffect(TRANSITION_EFFECT_FADE);
    pane.setFile(a);
    pane.waitForTransition();
    EXPECT_EQ(frames.take(), 20) << "19 steps of 0.05, then 1";

    SlidePane fresh;
    fresh.setTransEffect(TRANSITION_EFFECT_FADE);
    fresh.setStepDelays(0, 0);
    Frames none;
    none.attach(fresh);
    fresh.setFile(a); // no previous picture: it fades from itself, so nothing animates
    fresh.waitForTransition();
    EXPECT_EQ(none.take(), 0);
    EXPECT_FALSE(fresh.isTransitioning());
    EXPECT_GE(changes.changes.load(), 10);
}

TEST_F(Viewer, ASecondSetFileStopsTheRunningWorker)
{
    const QString a = picture("a.png", {40, 30}, Qt::red), b = picture("b.png", {40, 30}, Qt::green), c = picture("c.png", {40, 30});
    SlidePane pane;
    pane.setTransEffect(TRANSITION_EFFECT_FADE);
    pane.setFile(a);
    pane.setStepDelays(5, 60000); // a fade that would take nearly 20 minutes
    pane.setFile(b);
    ASSERT_TRUE(pane.isTransitioning());
    pane.setStepDelays(5, 0);
    QElapsedTimer clock;
    clock.start();
    pane.setFile(c);
    pane.waitForTransition();
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_EQ(pane.getTransitionCount(), 1) << "the stopped fade never completed";
    EXPECT_FALSE(pane.isTransitioning());
}

TEST_F(Viewer, EffectsRandomChoicesAndFailures)
{
    SlidePane pane;
    pane.setTransEffect(TRANSITION_EFFECT_RANDOM);
    EXPECT_EQ(pane.getTransEffect(), TRANSITION_EFFECT_RANDOM);
    pane.setTransEffect(TRANSITION_EFFECT_INSIDE_OUT);
    EXPECT_EQ(pane.getTransEffect(), TRANSITION_EFFECT_INSIDE_OUT);

    int counts[5] = {};
    for (int i = 0; i < 20000; ++i)
        ++counts[SlidePane::getRandomInt(1, 4)];
    EXPECT_EQ(counts[0], 0);
    for (int ends : {1, 4})
        EXPECT_NEAR(counts[ends] / 20000.0, 1.0 / 6, 0.02) << ends;
    for (int middle : {2, 3})
        EXPECT_NEAR(counts[middle] / 20000.0, 1.0 / 3, 0.02) << middle;

    pane.setTransEffect(TRANSITION_EFFECT_NONE);
    const QString junk = home.write("junk.jpg", "\xFF\xD8\xFF not really");
    EXPECT_FALSE(pane.setFile(junk).has_value());
    EXPECT_FALSE(pane.isTransitioning());
    EXPECT_FALSE(pane.getCurrentImageSize().has_value());
    EXPECT_FALSE(pane.setFile(home.path() + "/missing.jpg").has_value());
    EXPECT_FALSE(pane.isTransitioning());
    EXPECT_FALSE(pane.setFile(std::nullopt).has_value());
    EXPECT_EQ(pane.getFileName(), "not set");

    const QString ok = picture("ok.png", {30, 20});
    EXPECT_EQ(pane.setFile(ok, 2, 9), QSize(30, 20));
    EXPECT_EQ(pane.getFileName(), "ok.png");
    EXPECT_FLOAT_EQ(pane.getCurrentImageAspect(), 20.0f / 30.0f);
    pane.setShowAllCaptions(true);
    EXPECT_TRUE(pane.isShowAllCaptions());
    pane.setShowFileName(false);
    EXPECT_FALSE(pane.isShowAllCaptions());
}

TEST_F(Viewer, ZoomShowsTheRegionUnderThePressAtOneToOne)
{
    const QImage gradient = gradientImage({400, 300});
    const QString path = writeImage(home.path() + "/g.png", gradient);
    SlidePane pane;
    pane.resize(200, 150);
    pane.setTransEffect(TRANSITION_EFFECT_NONE);
    pane.setFile(path);
    pane.zoomTo(QPoint(100, 75)); // the centre of a picture shown at half size
    const QImage shot = pane.grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), gradient.pixel(100, 75));
    EXPECT_EQ(shot.pixel(199, 149), gradient.pixel(299, 224));
    pane.zoomTo(std::nullopt);
    const QImage plain = pane.grab().toImage();
    EXPECT_NE(plain.pixel(0, 0), gradient.pixel(100, 75));
    EXPECT_EQ(pane.getSubImageAt(10, 20, {5, 5})->pixel(0, 0), gradient.pixel(10, 20));
}

TEST_F(Viewer, ThumbnailsHaveTheirLongerSideAndKeepTheOldOneOnFailure)
{
    ThumbnailPanel panel(200);
    panel.setFile(picture("wide.jpg", {3000, 2000}));
    EXPECT_EQ(panel.thumbnail().size(), QSize(200, 133));
    EXPECT_EQ(panel.thumbnail().format(), QImage::Format_RGB888);
    panel.setFile(picture("tall.jpg", {2000, 3000}));
    EXPECT_EQ(panel.thumbnail().size(), QSize(133, 200));
    panel.setFile(home.write("bad.jpg", "\xFF\xD8\xFF junk"));
    EXPECT_EQ(panel.thumbnail().size(), QSize(133, 200));
    panel.setFile(std::nullopt);
    EXPECT_TRUE(panel.thumbnail().isNull());
}

TEST_F(Viewer, PreviewPagesWithClicksAndClosesWithEscape)
{
    const QStringList files = {picture("1.png", {40, 30}), picture("2.png", {30, 40}), picture("3.png", {40, 40})};
    QPointer<ImagePreviewDialog> dialog = new ImagePreviewDialog(files);
    EXPECT_EQ(dialog->windowTitle(), "Image 1 of 3");
    EXPECT_EQ(dialog->pane()->toolTip(), "<Esc> to close and left click for next and right click for previous image");
    QTest::mouseClick(dialog->pane(), Qt::RightButton);
    EXPECT_EQ(dialog->windowTitle(), "Image 1 of 3");
    QTest::mouseClick(dialog->pane(), Qt::LeftButton);
    QTest::mouseClick(dialog->pane(), Qt::LeftButton);
    EXPECT_EQ(dialog->windowTitle(), "Image 3 of 3");
    QTest::mouseClick(dialog->pane(), Qt::LeftButton);
    EXPECT_EQ(dialog->windowTitle(), "Image 3 of 3");
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());

    QPointer<ImagePreviewDialog> empty = new ImagePreviewDialog({});
    EXPECT_EQ(empty->windowTitle(), "No file loaded");
    delete empty;
}

TEST_F(Viewer, HorizontalSlidesEnterFromTheSideTheCountsParityPicks)
{
    const QString a = picture("a.png", {200, 150}, Qt::red), b = picture("b.png", {200, 150}, Qt::green);
    SlidePane pane;
    pane.resize(200, 150);
    pane.setTransEffect(TRANSITION_EFFECT_HORIZONTAL);
    pane.setStepDelays(60000, 60000);
    pane.setFile(a);
    pane.holdTransitionAt(0.5f); // count 0: even, the picture comes in from the left
    QImage shot = pane.grab().toImage();
    EXPECT_EQ(shot.pixel(50, 75), QColor(Qt::red).rgb());
    EXPECT_EQ(shot.pixel(150, 75), QColor(Qt::black).rgb());

    pane.setStepDelays(0, 0);
    pane.setFile(b);
    pane.waitForTransition();
    ASSERT_EQ(pane.getTransitionCount(), 1);
    pane.setStepDelays(60000, 60000);
    pane.setFile(a);
    pane.holdTransitionAt(0.5f); // count 1: odd, from the right
    shot = pane.grab().toImage();
    EXPECT_EQ(shot.pixel(50, 75), QColor(Qt::black).rgb());
    EXPECT_EQ(shot.pixel(150, 75), QColor(Qt::red).rgb());
}
