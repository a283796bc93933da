#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova {

// What the "Image Data" text says about a picture, read from its own header: JPEG frame, JFIF density
// and comment segments; PNG header, physical size, palette, transparency and text chunks.
struct ImageInfo {
    QString format;      // "JPEG", "PNG"
    QString formatName;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    QString colorType;
    QString compression;
    int physicalWidthDpi = -1;  // -1: not recorded
    int physicalHeightDpi = -1;
    bool progressive = false;
    bool transparent = false;
    bool usesPalette = false;
    QStringList comments;

    static std::optional<ImageInfo> read(const QString& path, QString* error = nullptr);
    // The multi-line summary, one "Name: value" line per property.
    QString toString() const;
};

} // namespace zentrova
