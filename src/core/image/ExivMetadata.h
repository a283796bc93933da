#pragma once

#include "image/ExifPatcher.h"

#include <QString>
#include <QStringList>

namespace zentrova {

// The only door to the metadata library. Its calls are serialised and its exceptions end here.
namespace ExivMetadata {
// Every EXIF, IPTC and XMP item of the file as "name = text", in the library's order.
bool readItems(const QString& path, QStringList* items, QString* error = nullptr);
// True when the library reads the file and sees the change: each added field in the Exif sub-directory
// with its type and bytes, and none of the removed tags anywhere in IFD0 or the Exif sub-directory.
bool confirms(const QString& path, const ExifChange& change, QString* error = nullptr);
} // namespace ExivMetadata

} // namespace zentrova
