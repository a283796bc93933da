#pragma once

#include <QImage>
#include <QSize>

namespace zentrova {

// Resampling "with bicubic interpolation": separable cubic convolution (Keys, a = -0.5). When shrinking,
// the kernel is widened by the scale so every source pixel contributes (antialiasing). The result keeps
// the source's pixel format where the format allows and is built from 8-bit channels otherwise.
namespace Resampler {
constexpr double A = -0.5;
QImage resample(const QImage& source, QSize target);
// The Keys kernel at distance x.
double cubic(double x);
} // namespace Resampler

} // namespace zentrova
