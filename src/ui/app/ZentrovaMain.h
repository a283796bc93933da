#pragma once

#include <QString>
#include <QStringList>

namespace zentrova {

// The organizer's entry: the folder on the command line, the start-up facts, priority, the X resource step
// on Linux, the application folder, then the main window.
class ZentrovaMain {
public:
    static int main(int argc, char** argv);

    // The X resource step: a temporary "tolvex<number>tmp" file with "*.multiClickTime: 500", merged with
    // "xrdb -merge <file>" started detached. Every failure is logged and printed; start-up goes on.
    // Answers the log text of a successful run (empty on failure).
    static QString initLinux(const QString& xrdbProgram = QStringLiteral("xrdb"));

    // Ends the process at once with the status, without emptying the temporary folder.
    [[noreturn]] static void exitNow(int status);
};

} // namespace zentrova
