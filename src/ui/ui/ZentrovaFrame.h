#pragma once

#include "util/MainSettings.h"

#include <QMainWindow>
#include <QRect>

#include <optional>

class QAction;
class QMenu;

namespace zentrova {

class Prompter;
class SplashDialog;

// The main window. This build holds the shell: title, icon, size, splash, the settings, the "Help" menu and
// the orderly and immediate ends of the program. The views and the other menus are added on top of it.
class ZentrovaFrame : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString TITLE = QStringLiteral("Zentrova v1.3.4");
    static inline const QString PROGRAM_NAME = QStringLiteral("Zentrova Image Tool");
    static inline const QString VERSION = QStringLiteral("v1.3.4");
    static inline const QString MAKER = QStringLiteral("Zentrova developers");
    static inline const QString COPYRIGHT = QStringLiteral("2026");
    static inline const QString CREDIT = QStringLiteral("Photo organizer for JPEG and PNG folders");
    static constexpr int SPLASH_MS = 2000;

    // dir: the start-up folder (may be none). splashMs: how long each of the two splash logos shows.
    ZentrovaFrame(std::optional<QString> dir, Prompter* prompter, int splashMs = SPLASH_MS);
    ~ZentrovaFrame() override;

    // 90% of the screen each way (rounded), centred horizontally, top at a tenth of the height left over.
    static QRect placement(const QRect& screen);

    MainSettings& settings() { return props; }
    std::optional<QString> startFolder() const { return dir; }
    // The orderly end: the temporary folder emptied, the window closed, status 0.
    void exit();
    void jmiAbout_actionPerformed();
    QAction* findMenuItem(const QString& menu, const QString& item) const;

    // Tool tips of the whole program on or off ("Show Tool Tips").
    static void setToolTipsEnabled(bool enabled);
    static bool toolTipsEnabled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void showSplash();

    std::optional<QString> dir;
    Prompter* prompter;
    int splashMs;
    MainSettings props;
    bool exiting = false;
    QMenu* jmHelp = nullptr;
    QAction* jckbmiShowToolTips = nullptr;
    QAction* jckbmiLoggingOn = nullptr;
    QAction* jmiAbout = nullptr;
};

} // namespace zentrova
