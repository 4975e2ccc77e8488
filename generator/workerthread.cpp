#include "workerthread.h"

#include <QMetaObject>
#include <QObject>

void WorkerThread::start(QObject *owner, std::function<void()> work, std::function<void()> finished)
{
    thread = std::thread([this, owner, work = std::move(work), finished = std::move(finished)] {
        work();
        // Dropped unseen when the owner is gone before its events are processed.
        QMetaObject::invokeMethod(
            owner,
            [this, finished] {
                wait();
                finished();
            },
            Qt::QueuedConnection);
    });
}

void WorkerThread::wait()
{
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
        thread.join();
}
