#pragma once

#include <QImage>
#include <QString>

namespace zentrova::Resources {

// Registers the compiled-in resources (the library is static, so they must be pulled in by name).
void init();
// ":/images/<name>" for a picture named by its file name ("kvt_24x24.png", "tolvexlogo.png"...).
QString imagePath(const QString& name);
// The picture, or a null image with the failure printed on the error output.
QImage loadImage(const QString& name);
// The process-wide application icon (24x24) and logo (400x400), read once.
const QImage& iconImage();
const QImage& logoImage();

} // namespace zentrova::Resources
