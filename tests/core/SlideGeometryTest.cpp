#include "image/SlideGeometry.h"

#include <gtest/gtest.h>

using namespace zentrova;
using namespace zentrova::SlideGeometry;

TEST(SlideGeometry, FitRuleCentresAndRoundsHalvesUp)
{
    struct Case {
        int W, H;
        QSize image;
        QRect rect;
        float scale;
    };
    const Case cases[] = {
        {800, 600, {4000, 3000}, {0, 0, 800, 600}, 0.2f},
        {800, 600, {3000, 4000}, {175, 0, 450, 600}, 0.15f},
        {800, 600, {100, 50}, {0, 100, 800, 400}, 8.0f},
        {101, 100, {200, 100}, {0, 24, 101, 51}, 0.505f},
        {2000, 1500, {4000, 3000}, {0, 0, 2000, 1500}, 0.5f},
    };
    for (const Case& c : cases) {
        const Fit f = fit(c.W, c.H, float(c.image.height()) / float(c.image.width()), c.image);
        EXPECT_EQ(f.rect, c.rect) << c.image.width() << "x" << c.image.height() << " in " << c.W << "x" << c.H;
        EXPECT_FLOAT_EQ(f.scale, c.scale);
        EXPECT_FLOAT_EQ(f.paneAspect, float(c.H) / float(c.W));
    }
    EXPECT_EQ(round(2.5f), 3);
    EXPECT_EQ(round(-0.5f), 0);
    EXPECT_EQ(round(1.49f), 1);
}

TEST(SlideGeometry, ZoomRegions)
{
    const QSize image(4000, 3000);
    const Fit half = fit(2000, 1500, 0.75f, image);
    const Fit tall = fit(2000, 2000, 0.75f, image); // rectangle from y = 250 to 1750
    const Fit enlarged = fit(800, 600, 0.5f, QSize(100, 50));
    struct Case {
        const char* what;
        Fit f;
        QSize image;
        QPoint press;
        std::optional<QRect> region;
    };
    const Case cases[] = {
        {"centre at half size", half, image, {1000, 750}, QRect(1000, 750, 2000, 1500)},
        {"near the top-left corner", half, image, {10, 10}, QRect(0, 0, 2000, 1500)},
        {"near the bottom-right corner", half, image, {1995, 1495}, QRect(2000, 1500, 2000, 1500)},
        {"outside the rectangle", tall, image, {5, 100}, std::nullopt},
        {"an enlarged image stays inside itself", enlarged, QSize(100, 50), {400, 300}, QRect(0, 0, 100, 50)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zoomRegion(c.press, c.f, c.image), c.region) << c.what;
}

TEST(SlideGeometry, TransitionRectanglesAndCaptions)
{
    const QRect r(100, 50, 400, 300);
    EXPECT_EQ(slideRect(r, 0.5f, 0, false), QRect(-100, 50, 400, 300)) << "even count: enters from the left";
    EXPECT_EQ(slideRect(r, 0.5f, 1, false), QRect(300, 50, 400, 300)) << "odd count: from the right";
    EXPECT_EQ(slideRect(r, 0.5f, 2, true), QRect(100, -100, 400, 300)) << "even: from the top";
    EXPECT_EQ(slideRect(r, 0.5f, 3, true), QRect(100, 200, 400, 300)) << "odd: from the bottom";
    EXPECT_EQ(slideRect(r, 1.0f, 0, false), r);
    EXPECT_EQ(insideOutRect(r, 0.5f), QRect(200, 125, 200, 150));
    EXPECT_EQ(insideOutRect(r, 1.0f), r);
    EXPECT_EQ(outsideInRect(r, 0.5f), QRect(200, 125, 200, 150));
    EXPECT_EQ(outsideInRect(r, 0.0f), r);

    EXPECT_EQ(imageSizeCaption(800, 600, 100), QPoint(695, 595));
    EXPECT_EQ(fileNameCaption(800, 600, 101), QPoint(350, 595));
    EXPECT_EQ(indexCaption(800, 600), QPoint(5, 595));
    EXPECT_EQ(extraCaption(800, 100, 20), QPoint(350, 25));
    EXPECT_EQ(decodeErrorText(800, 600, 300, 20), QPoint(100, 320));
    EXPECT_EQ(decodeErrorText(800, 600, 500, 20), QPoint(0, 320)) << "never off the left edge";
    EXPECT_EQ(readErrorText(800, 600, 300, 18), QPoint(250, 318));
}

TEST(SlideGeometry, PreviewWindowsAndThumbnails)
{
    const QSize screen(1920, 1080);
    EXPECT_EQ(initialPreviewWindow(screen), QRect(192, 108, 1536, 864));
    EXPECT_EQ(previewWindow(screen, {4000, 3000}), QRect(384, 108, 1152, 864));
    EXPECT_EQ(previewWindow(screen, {3000, 4000}), QRect(636, 108, 648, 864));
    EXPECT_EQ(previewWindow(screen, {4000, 1000}), QRect(192, 348, 1536, 384));
    EXPECT_EQ(thumbnailSize({3000, 2000}, 200), QSize(200, 133));
    EXPECT_EQ(thumbnailSize({2000, 3000}, 200), QSize(133, 200));
    EXPECT_EQ(thumbnailSize({500, 500}, 200), QSize(200, 200));
}
