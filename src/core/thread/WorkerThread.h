#pragma once

#include <QThread>

#include <functional>

namespace zentrova {

// A thread that runs one function under the name the design gives it ("ZentrovaFrame-writeExport"...).
// The object name carries the full name; the operating system's thread name is cut to 15 characters.
class WorkerThread : public QThread {
    Q_OBJECT
public:
    WorkerThread(const QString& name, std::function<void()> body, QObject* parent = nullptr);

    // Starts a worker that deletes itself when it ends.
    static WorkerThread* startDetached(const QString& name, std::function<void()> body);

protected:
    void run() override;

private:
    std::function<void()> body;
};

} // namespace zentrova
