// Linked into every program of a ThreadSanitizer build, and only there.
//
// Qt starts a process with clone(CLONE_VM | CLONE_VFORK): the child runs on the parent thread's
// memory until it calls exec. ThreadSanitizer's clone interceptor runs its after-fork bookkeeping
// in that child, which resets the clocks of the parent thread it shares memory with, so that
// everything the thread did before starting a tool looks unordered with what follows its join.
// Such a clone is passed straight to the C library; any other goes on to ThreadSanitizer.

#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

namespace {

using CloneFunction = int (*)(int (*)(void *), void *, int, void *, ...);

CloneFunction cloneOf(bool sharesMemory)
{
    void *library = sharesMemory ? dlopen("libc.so.6", RTLD_NOLOAD | RTLD_LAZY) : RTLD_NEXT;
    return reinterpret_cast<CloneFunction>(dlsym(library, "clone"));
}

} // namespace

extern "C" int clone(int (*function)(void *), void *stack, int flags, void *argument, ...) noexcept
{
    // The three optional arguments are read whether or not the flags use them, as the C library
    // does.
    va_list rest;
    va_start(rest, argument);
    pid_t *parentTid = va_arg(rest, pid_t *);
    void *tls = va_arg(rest, void *);
    pid_t *childTid = va_arg(rest, pid_t *);
    va_end(rest);
    const bool sharesMemory = (flags & (CLONE_VM | CLONE_VFORK)) == (CLONE_VM | CLONE_VFORK);
    return cloneOf(sharesMemory)(function, stack, flags, argument, parentTid, tls, childTid);
}
