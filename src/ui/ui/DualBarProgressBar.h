#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace zentrova {

// A borderless, always-on-top window with an optional title line and two progress bars, each with an
// optional caption prefix. Setters may be called from any thread; changes run on the user-interface thread.
class DualBarProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit DualBarProgressBar(const QString& title = {}, QWidget* owner = nullptr);

    void setProgressBarTitle1(const QString& prefix);
    void setProgressBarTitl2(const QString& prefix);
    // A positive maximum: "[prefix ]25% 3 of 12"; the first bar's caption is also the window title.
    // Otherwise the bar turns indeterminate without text.
    void setProgress1(int value, int maximum);
    void setProgress2(int value, int maximum);
    void setIndeterminateBoth(bool indeterminate);
    void setIndeterminate1(bool indeterminate);
    void setIndeterminate2(bool indeterminate);
    QProgressBar* getProgressBar1() const { return bar1; }
    QProgressBar* getProgressBar2() const { return bar2; }
    void showCentred();
    void closeLater();

private:
    void setProgress(QProgressBar* bar, const QString& prefix, int value, int maximum, bool title);
    static void setIndeterminate(QProgressBar* bar, bool indeterminate);

    QLabel* titleLabel;
    QProgressBar* bar1;
    QProgressBar* bar2;
    QString prefix1;
    QString prefix2;
};

} // namespace zentrova
