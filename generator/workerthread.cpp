#include "workerthread.h"

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread()
{
    wait();
}

void WorkerThread::start(QObject *owner, std::function<void()> work, std::function<void()> finished)
{
    if (!notifier) {
        notifier = std::make_unique<WorkerThreadNotifier>(*this);
        notifier->moveToThread(owner->thread());
    }
    notifier->finished = std::move(finished);
    thread = std::thread([this, work = std::move(work)] {
        work();
        QMetaObject::invokeMethod(notifier.get(), "workDone", Qt::QueuedConnection);
    });
}

void WorkerThread::wait()
{
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
        thread.join();
}

void WorkerThreadNotifier::workDone()
{
    worker.wait();
    // Taken out first: the continuation may start the next piece of work, which sets its own.
    const std::function<void()> done = std::move(finished);
    finished = nullptr;
    if (done)
        done();
}
