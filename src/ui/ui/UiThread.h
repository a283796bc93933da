#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <utility>

namespace zentrova {

// Runs fn on the user-interface thread: at once when already there, otherwise posted (never waited for).
// The work is dropped when `guard` is gone by the time it runs.
template <typename Fn>
void onUiThread(QObject* guard, Fn&& fn)
{
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(guard, std::forward<Fn>(fn), Qt::QueuedConnection);
}

} // namespace zentrova
