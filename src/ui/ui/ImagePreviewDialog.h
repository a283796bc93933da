#pragma once

#include <QDialog>
#include <QStringList>

namespace zentrova {

class SlidePane;

// Pages through a list of pictures, one at a time, the window fitted to each within 80 % of the screen.
// Left click: next; any other button: previous; Esc closes.
class ImagePreviewDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr float SHARE_OF_SCREEN = 0.8f;
    static inline const QString TOOL_TIP = QStringLiteral("<Esc> to close and left click for next and right click for previous image");

    explicit ImagePreviewDialog(const QStringList& files, QWidget* parent = nullptr);
    int position() const { return current; }
    SlidePane* pane() const { return slidePane; }
    void showNext();
    void showPrevious();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showAt(int position);
    QStringList files;
    int current = 0;
    SlidePane* slidePane;
};

} // namespace zentrova
