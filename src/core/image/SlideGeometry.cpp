#include "image/SlideGeometry.h"

#include <algorithm>

namespace zentrova {

SlideGeometry::Fit SlideGeometry::fit(int W, int H, float imageAspect, QSize image)
{
    Fit f;
    if (W <= 0 || H <= 0 || image.isEmpty())
        return f;
    f.paneAspect = float(H) / float(W);
    int width, height;
    if (imageAspect > f.paneAspect) {
        height = H;
        f.scale = float(H) / float(image.height());
        width = round(float(H) / imageAspect);
    } else {
        width = W;
        f.scale = float(W) / float(image.width());
        height = round(float(W) * imageAspect);
    }
    f.rect = QRect((W - width) / 2, (H - height) / 2, width, height);
    return f;
}

std::optional<QRect> SlideGeometry::zoomRegion(QPoint point, const Fit& f, QSize image)
{
    const QRect& r = f.rect;
    if (!r.contains(point) || f.scale <= 0 || image.isEmpty())
        return std::nullopt;
    const int ix = round(float(point.x() - r.x()) / f.scale);
    const int iy = round(float(point.y() - r.y()) / f.scale);
    const int w = std::min(r.width(), image.width());
    const int h = std::min(r.height(), image.height());
    const int x = std::clamp(ix - r.width() / 2, 0, image.width() - w);
    const int y = std::clamp(iy - r.height() / 2, 0, image.height() - h);
    return QRect(x, y, w, h);
}

QRect SlideGeometry::slideRect(const QRect& r, float p, int count, bool vertical)
{
    const int side = vertical ? r.height() : r.width();
    const int shift = count % 2 == 0 ? -side + round(float(side) * p) : side - round(float(side) * p);
    return vertical ? r.translated(0, shift) : r.translated(shift, 0);
}

QRect SlideGeometry::insideOutRect(const QRect& r, float p)
{
    return QRect(r.x() + round(float(r.width()) * (1 - p) / 2), r.y() + round(float(r.height()) * (1 - p) / 2),
                 round(float(r.width()) * p), round(float(r.height()) * p));
}

QRect SlideGeometry::outsideInRect(const QRect& pr, float p)
{
    return QRect(pr.x() + round(float(pr.width()) * p / 2), pr.y() + round(float(pr.height()) * p / 2),
                 round(float(pr.width()) * (1 - p)), round(float(pr.height()) * (1 - p)));
}

QPoint SlideGeometry::imageSizeCaption(int W, int H, int textWidth) { return {W - 5 - textWidth, H - 5}; }
QPoint SlideGeometry::fileNameCaption(int W, int H, int textWidth) { return {round(float(W) / 2 - float(textWidth) / 2), H - 5}; }
QPoint SlideGeometry::indexCaption(int, int H) { return {5, H - 5}; }
QPoint SlideGeometry::extraCaption(int W, int textWidth, int lineHeight) { return {round(float(W) / 2 - float(textWidth) / 2), lineHeight + 5}; }
// The line ends at the centre; a line longer than half the pane starts at the left edge instead of off it.
QPoint SlideGeometry::decodeErrorText(int W, int H, int textWidth, int lineHeight) { return {std::max(0, W / 2 - textWidth), H / 2 + lineHeight}; }
QPoint SlideGeometry::readErrorText(int W, int H, int textWidth, int ascent) { return {(W - textWidth) / 2, H / 2 + ascent}; }

QRect SlideGeometry::initialPreviewWindow(QSize screen, float share)
{
    const int w = round(float(screen.width()) * share), h = round(float(screen.height()) * share);
    return QRect((screen.width() - w) / 2, (screen.height() - h) / 2, w, h);
}

QRect SlideGeometry::previewWindow(QSize screen, QSize image, float share)
{
    const int boxW = int(float(screen.width()) * share), boxH = int(float(screen.height()) * share);
    if (image.isEmpty())
        return QRect((screen.width() - boxW) / 2, (screen.height() - boxH) / 2, boxW, boxH);
    const float imageAspect = float(image.height()) / float(image.width());
    const float boxAspect = float(boxH) / float(boxW);
    float w, h;
    if (imageAspect < boxAspect) {
        w = float(boxW);
        h = float(boxW) / float(image.width()) * float(image.height());
    } else {
        h = float(boxH);
        w = float(boxH) / float(image.height()) * float(image.width());
    }
    const int iw = int(w), ih = int(h);
    return QRect(int(float(screen.width() - iw) / 2), int(float(screen.height() - ih) / 2), iw, ih);
}

QSize SlideGeometry::thumbnailSize(QSize image, int size)
{
    if (image.isEmpty())
        return {};
    const float aspect = float(image.width()) / float(image.height());
    if (image.width() > image.height())
        return {size, round(float(size) / aspect)};
    return {round(float(size) * aspect), size};
}

} // namespace zentrova
