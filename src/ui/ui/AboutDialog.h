#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <optional>

class QPlainTextEdit;
class QTabWidget;

namespace zentrova {

// The About dialog: "About Program", "Java Runtime Info", "Log Messages" (the live log), "License", and
// "Credits" when more than one credit line is given. Not modal; created anew each time.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(QWidget* owner, const QString& maker, const QStringList& credits, const QString& copyright,
                const QString& programName, const QString& version, const QImage& logo);
    ~AboutDialog() override;

    // The process-wide log (callable from any thread).
    static void logMessage(const QString& message);
    // The start-up facts, set once by the program's entry.
    static void setStartupFacts(const QStringList& args, const std::optional<QString>& startDirectory);
    static QStringList startupArguments();
    static std::optional<QString> startDirectory();

    void showCentred();
    QTabWidget* tabs() const { return tabWidget; }
    QString runtimeText() const;
    QString logText() const;
    QString licenseText() const;

private:
    QWidget* makeAboutTab(const QString& maker, const QStringList& credits, const QString& copyright,
                          const QString& programName, const QString& version, const QImage& logo);
    QTabWidget* tabWidget;
    QPlainTextEdit* runtime;
    QPlainTextEdit* log;
    QPlainTextEdit* license;
    int logObserver = 0;
};

} // namespace zentrova
