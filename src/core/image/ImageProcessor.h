#pragma once

#include <QImage>
#include <QString>

namespace zentrova {

// Exact quarter and half turns of pictures and of image files.
namespace ImageProcessor {

// Pixel (x, y) of a w × h picture goes to (h − 1 − y, x) clockwise, to (y, w − 1 − x) counter-clockwise;
// the copy keeps the pixel format.
QImage rotateImage90Degrees(const QImage& image, bool clockwise);
// Pixel (x, y) goes to (w − 1 − x, h − 1 − y).
QImage rotateImage180Degrees(const QImage& image);

// Turns the file's picture and writes it back in the format of its extension, keeping the picture date,
// the modification time and the album names; every other piece of metadata is dropped. False, with the
// file untouched, when it cannot be decoded or there is no encoder for its format.
bool rotateImage90Degrees(const QString& file, bool clockwise);
bool rotateImage180Degrees(const QString& file);

} // namespace ImageProcessor

} // namespace zentrova
