#include "interruption.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
// Windows reports Ctrl+C to a console handler on a thread of its own, not as a signal.
#include <windows.h>

namespace {
BOOL WINAPI consoleControl(DWORD type)
{
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT)
        return FALSE;
    QMetaObject::invokeMethod(QCoreApplication::instance(), "quit", Qt::QueuedConnection);
    return TRUE;
}
} // namespace

void quitOnInterrupt(QCoreApplication &)
{
    SetConsoleCtrlHandler(consoleControl, TRUE);
}

#else
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int interruptPipe[2] = { -1, -1 };

// A signal handler may only do what is async-signal-safe: one write, read by the event loop.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
}
} // namespace

void quitOnInterrupt(QCoreApplication &application)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [&application] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(interruptPipe[0], &byte, 1);
        application.quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
#endif
