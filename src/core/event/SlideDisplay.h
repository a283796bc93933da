#pragma once

#include <QSize>
#include <QString>

#include <optional>

namespace zentrova {

// What the slide timer needs of the image display it drives.
class SlideDisplay {
public:
    virtual ~SlideDisplay() = default;
    // Loads and shows the file (none clears); its pixel size, or nothing when it could not be shown.
    virtual std::optional<QSize> setFile(const std::optional<QString>& file, int index = -1, int total = -1) = 0;
    virtual bool isTransitioning() const = 0;
    virtual void setShowAllCaptions(bool on) = 0;
    virtual void setShowIndex(bool on) = 0;
    virtual void setAddCaption(const std::optional<QString>& caption) = 0;
    virtual void requestRepaint() = 0;
};

} // namespace zentrova
