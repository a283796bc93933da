#pragma once

#include <QDialog>

class QLabel;

namespace zentrova {

class InterruptibleSleep;

// A borderless, always-on-top message window that closes itself after its delay. Showing it starts a worker
// named "DelayDialog" that sleeps for the delay and hands the closing to the user-interface thread.
// The window deletes itself when closed.
class DelayDialog : public QDialog {
    Q_OBJECT
public:
    DelayDialog(QWidget* owner, const QString& message, int delayMs);
    ~DelayDialog() override;

    void showAndStart();
    QString message() const;
    int delay() const { return delayMs; }

private:
    QLabel* text;
    int delayMs;
    std::shared_ptr<InterruptibleSleep> sleeper;
};

} // namespace zentrova
