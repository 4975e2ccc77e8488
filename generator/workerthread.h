#ifndef WORKERTHREAD_H
#define WORKERTHREAD_H

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

// One piece of the engine's work on a thread of its own. When the work is done, `finished` runs on
// the owner's thread, from its event loop, after the thread was joined: the join orders the work's
// writes before whatever follows, in a way ThreadSanitizer sees too (Qt's QThread ends through
// Qt's own futexes, which it cannot see in a Qt not built with it).
class WorkerThreadNotifier;

class WorkerThread {
public:
    WorkerThread();
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;
    ~WorkerThread();

    // True from start() until the owner has been told, or wait() returned.
    bool isRunning() const { return thread.joinable(); }
    // Called on the owner's thread; `finished` may start the next piece of work.
    void start(QObject *owner, std::function<void()> work, std::function<void()> finished);
    // Returns once the work is done; `finished` then runs when the owner's events are processed.
    void wait();

private:
    // Made on the owner's thread and kept: the worker hands over nothing but a call by name,
    // whose event Qt makes and deletes.
    std::unique_ptr<WorkerThreadNotifier> notifier;
    std::thread thread;
};

// Runs the finished work's continuation on the owner's thread.
class WorkerThreadNotifier : public QObject {
    Q_OBJECT

public:
    explicit WorkerThreadNotifier(WorkerThread &worker) : worker(worker) { }
    std::function<void()> finished;

    Q_INVOKABLE void workDone();

private:
    WorkerThread &worker;
};

#endif // WORKERTHREAD_H
