#pragma once

#include "util/ProgressTarget.h"

#include <QWidget>

class QProgressBar;

namespace zentrova {

// A borderless, always-on-top window of 400 by 25 pixels holding one progress bar. Its setters may be
// called from any thread: each change is handed to the user-interface thread.
class FileIndexProgressBar : public QWidget, public ProgressTarget {
    Q_OBJECT
public:
    static inline const QString LOADING_TEXT = QStringLiteral("Loading please wait");

    explicit FileIndexProgressBar(QWidget* owner = nullptr);

    // A positive maximum: determinate, caption "25% 3 of 12" on the bar and in the title.
    // Otherwise: indeterminate with "Loading please wait".
    void setProgress(int value, int maximum);
    void setIndeterminate(bool indeterminate) override;
    void setString(const QString& text);
    QProgressBar* getProgressBar() const { return bar; }
    void showCentred();
    // Closes on the user-interface thread.
    void closeLater();

    // ProgressTarget, for file copies.
    void setDeterminate(int minimum, int maximum, int value) override;
    void setValue(int value) override;

private:
    QProgressBar* bar;
};

} // namespace zentrova
