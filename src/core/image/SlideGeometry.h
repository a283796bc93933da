#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cmath>
#include <optional>

namespace zentrova {

// Where the image views put things, as pure functions (single precision where the views compute so).
namespace SlideGeometry {

// Nearest integer, halves up.
inline int round(float x)
{
    return int(std::floor(x + 0.5f));
}

struct Fit {
    QRect rect;             // the image's rectangle in the pane
    float scale = 0;        // displayed pixels per image pixel
    float paneAspect = 0;   // pane height / width
};
// The image (aspect = height / width) fitted into a W × H pane and centred.
Fit fit(int W, int H, float imageAspect, QSize image);

// The image region a zoom at this point shows 1:1 over the fitted rectangle; none outside the rectangle.
// Where the rectangle is larger than the image (an enlarged image), the region is the whole image side.
std::optional<QRect> zoomRegion(QPoint point, const Fit& fit, QSize image);

// Transition rectangles at progress p; `count` is the number of completed transitions.
QRect slideRect(const QRect& r, float p, int count, bool vertical);
QRect insideOutRect(const QRect& r, float p);
QRect outsideInRect(const QRect& previous, float p);

// Caption and message positions: the left end of the text and its baseline.
QPoint imageSizeCaption(int W, int H, int textWidth);
QPoint fileNameCaption(int W, int H, int textWidth);
QPoint indexCaption(int W, int H);
QPoint extraCaption(int W, int textWidth, int lineHeight);
QPoint decodeErrorText(int W, int H, int textWidth, int lineHeight);
QPoint readErrorText(int W, int H, int textWidth, int ascent);

// The preview window: first size and position, and fitted to an image within share × the screen.
QRect initialPreviewWindow(QSize screen, float share = 0.8f);
QRect previewWindow(QSize screen, QSize image, float share = 0.8f);

// A thumbnail's size: its longer side `size`.
QSize thumbnailSize(QSize image, int size);

} // namespace SlideGeometry

} // namespace zentrova
