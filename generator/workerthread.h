#ifndef WORKERTHREAD_H
#define WORKERTHREAD_H

#include <functional>
#include <thread>

class QObject;

// One piece of the engine's work on a thread of its own. When the work is done, `finished` runs on
// the owner's thread, from its event loop, after the thread was joined: the join orders the work's
// writes before whatever follows, in a way ThreadSanitizer sees too (Qt's QThread ends through
// Qt's own futexes, which it cannot see in a Qt not built with it).
class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;
    ~WorkerThread() { wait(); }

    // True from start() until the owner has been told, or wait() returned.
    bool isRunning() const { return thread.joinable(); }
    void start(QObject *owner, std::function<void()> work, std::function<void()> finished);
    // Returns once the work is done; `finished` then runs when the owner's events are processed.
    void wait();

private:
    std::thread thread;
};

#endif // WORKERTHREAD_H
