#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace zentrova {

// The one way pictures are decoded and encoded. Decoding applies the EXIF orientation, so every consumer
// (display, thumbnails, print, rotation, conversion, scaling) sees the picture upright, and can decode a
// JPEG at a reduced DCT scale when only a small picture is needed.
namespace ImageIO {

constexpr int JPEG_QUALITY = 75;
// A reduced decode still leaves the picture at least this many times the size it will be shown at.
// 1.5 lets a 12 MP camera picture shown at 1024 × 768 decode at half size (2000 × 1500), which halves the
// decoding time; the cubic filter then still shrinks by more than 1.5, so no detail is invented.
constexpr double MIN_DECODE_FACTOR = 1.5;

enum class Replace { ALWAYS, NEVER };

// The picture, upright. With a box, a JPEG may come back smaller than stored: at the largest DCT
// reduction that keeps it MIN_DECODE_FACTOR times the size that fits the box. A null image and a
// message when nothing can be decoded.
// *fullSize, when given, is the whole picture's upright size (a reduced decode is smaller).
QImage read(const QString& path, QString* error = nullptr, QSize fitBox = QSize(), QSize* fullSize = nullptr);
// The DCT scale denominator (1, 2, 4 or 8) for a picture of this size that will be fitted into the box.
int reductionFor(QSize picture, QSize fitBox);

// The EXIF orientation (1 to 8) of a JPEG, 1 when it has none.
int orientationOf(const QString& path);
QImage applyOrientation(const QImage& image, int orientation);

// The format named by the path's extension, as written ("jpg", "JPG", "png").
QByteArray formatOf(const QString& path);
bool canWrite(const QByteArray& format);
// Encodes with the format's default settings into a temporary file beside path, flushed, then renamed
// into place. With Replace::NEVER an existing file at path makes the call fail and stay untouched.
bool write(const QImage& image, const QString& path, const QByteArray& format, Replace replace, QString* error = nullptr);
// The encoded bytes, for callers that place them themselves.
bool encode(const QImage& image, const QByteArray& format, QByteArray* out, QString* error = nullptr);

} // namespace ImageIO

} // namespace zentrova
