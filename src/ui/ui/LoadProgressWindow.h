#pragma once

#include "util/ProgressTarget.h"

#include <QWidget>

class QProgressBar;

namespace zentrova {

// The window a load shows while the date tree is built: borderless, always on top, 400 × 20, centred on the
// screen, one blue bar with its percentage. It hides itself when the bar reaches its maximum. Any thread
// may report progress; the bar changes on the UI thread.
class LoadProgressWindow : public QWidget, public ProgressTarget {
    Q_OBJECT
public:
    explicit LoadProgressWindow(QWidget* owner);
    void showCentred();
    void setDeterminate(int minimum, int maximum, int value) override;
    void setValue(int value) override;
    void setIndeterminate(bool indeterminate) override;
    void setStringPainted(bool painted) override;
    QProgressBar* bar() const { return progress; }

private:
    QProgressBar* progress;
};

} // namespace zentrova
