#include "StackGuard.h"

#include <QtGlobal>

#include <algorithm>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_LINUX)
#include <pthread.h>
#elif defined(Q_OS_DARWIN)
#include <pthread.h>
#endif

namespace vbs {

namespace {

// Room kept for host callbacks, built-ins (regular expressions, formats) and error handling.
constexpr uintptr_t kReserve = 256 * 1024;

uintptr_t computeLimit()
{
    uintptr_t low = 0, size = 0;
#if defined(Q_OS_WIN)
    ULONG_PTR lo = 0, hi = 0;
    GetCurrentThreadStackLimits(&lo, &hi);
    low = uintptr_t(lo);
    size = uintptr_t(hi - lo);
#elif defined(Q_OS_LINUX)
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void *addr = nullptr;
        size_t sz = 0;
        if (pthread_attr_getstack(&attr, &addr, &sz) == 0) {
            low = reinterpret_cast<uintptr_t>(addr);
            size = sz;
        }
        pthread_attr_destroy(&attr);
    }
#elif defined(Q_OS_DARWIN)
    const uintptr_t high = reinterpret_cast<uintptr_t>(pthread_get_stackaddr_np(pthread_self()));
    size = pthread_get_stacksize_np(pthread_self());
    low = high - size;
#endif
    if (!size) {
        // unknown bounds: assume a 1 MB stack below the current frame
        size = 1024 * 1024;
        low = stackPointer() > size ? stackPointer() - size : 0;
    }
    // the initial thread's reported size is the rlimit; without one it can be huge
    const uintptr_t usable = std::min<uintptr_t>(size, uintptr_t(64) * 1024 * 1024);
    const uintptr_t high = low + size;
    low = high - usable;
    return low + std::min(kReserve, usable / 4);
}

} // namespace

uintptr_t stackLimit()
{
    thread_local const uintptr_t limit = computeLimit();
    return limit;
}

} // namespace vbs
