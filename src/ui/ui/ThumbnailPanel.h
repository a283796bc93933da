#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

namespace zentrova {

// A small copy of one picture, its longer side `size` pixels, centred on black.
class ThumbnailPanel : public QWidget {
    Q_OBJECT
public:
    explicit ThumbnailPanel(int size, QWidget* parent = nullptr);
    // None or a missing file clears it; a picture that cannot be decoded leaves the old one.
    void setFile(const std::optional<QString>& file);
    std::optional<QString> getFile() const { return file; }
    const QImage& thumbnail() const { return image; }
    QSize sizeHint() const override;

private:
    class Inner;
    int size;
    std::optional<QString> file;
    QImage image;
    Inner* inner;
};

} // namespace zentrova
