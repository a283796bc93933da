#pragma once

#include <QAbstractItemView>
#include <QCoreApplication>

#include <atomic>
#include <functional>
#include <thread>

namespace zentrova::test {

// Runs `work` on a thread of its own while the UI thread keeps painting the view and reading its selection
// through `read`; returns when the work is done and the posted events are handled.
inline void paintWhileWorking(QAbstractItemView& view, const std::function<void()>& work, const std::function<void()>& read)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    while (!done) {
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        read();
    }
    worker.join();
    QCoreApplication::processEvents();
    view.viewport()->repaint();
}

} // namespace zentrova::test
