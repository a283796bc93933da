#pragma once

#include <QWidget>

class QLabel;

namespace zentrova {

// The start-up splash: borderless and white in a bevelled frame, the logo at the top, the program name,
// then the copyright text and a rights-reserved line. Sized to its content once; setLogo does not resize.
class SplashDialog : public QWidget {
    Q_OBJECT
public:
    SplashDialog(const QString& programName, const QString& copyright,
                 const QString& logoResource = QStringLiteral("tolvexlogo.png"));

    void setLogo(const QString& logoResource);
    void showCentred();
    QString logoResource() const { return logoName; }

private:
    QLabel* logo;
    QString logoName;
};

} // namespace zentrova
