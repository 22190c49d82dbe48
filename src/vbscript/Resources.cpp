#include "Resources.h"

#include <QtGlobal>

#include <algorithm>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VBS_ASAN 1
#endif
#endif
#if !defined(VBS_ASAN) && defined(__SANITIZE_ADDRESS__)
#define VBS_ASAN 1
#endif
#ifndef VBS_ASAN
#define VBS_ASAN 0
#endif

#if VBS_ASAN
#include <sanitizer/allocator_interface.h>
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(Q_OS_WIN)
#include <windows.h>
#include <psapi.h>
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

uintptr_t computeStackLimit()
{
    return computeLimit();
}

size_t heapInUse()
{
#if VBS_ASAN
    return __sanitizer_get_current_allocated_bytes(); // the sanitizer's allocator replaces malloc's
#elif defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
#elif defined(Q_OS_WIN)
    PROCESS_MEMORY_COUNTERS_EX pmc;
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&pmc), sizeof pmc))
        return pmc.PrivateUsage;
    return 0;
#else
    return 0;
#endif
}

namespace {
thread_local ResourceMeter *t_meter = nullptr;
// statements between two looks at the clock and the heap
constexpr int kTicksPerCheck = 4096;
} // namespace

ResourceMeter *ResourceMeter::current()
{
    return t_meter;
}

ResourceMeter::Scope::Scope(ResourceMeter *m) : saved(t_meter)
{
    t_meter = m;
}

ResourceMeter::Scope::~Scope()
{
    t_meter = saved;
}

void ResourceMeter::begin(size_t memoryLimit, int64_t timeLimitMs)
{
    if (memoryLimit == 0 && timeLimitMs <= 0) {
        m_active = false;
        m_memoryLimit = 0;
        m_hasDeadline = false;
        return;
    }
    m_memoryLimit = memoryLimit;
    m_hasDeadline = timeLimitMs > 0;
    if (m_hasDeadline)
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs);
    m_active = memoryLimit > 0 || m_hasDeadline;
    m_heapAtStart = memoryLimit > 0 ? heapInUse() : 0;
    // measure often enough that the limit is not overshot by much
    m_checkEvery = std::clamp<size_t>(memoryLimit / 16, size_t(256) << 10, size_t(16) << 20);
    m_sinceCheck = 0;
    m_ticks = kTicksPerCheck;
}

void ResourceMeter::check(size_t pending)
{
    m_ticks = kTicksPerCheck;
    m_sinceCheck = 0;
    if (m_hasDeadline && std::chrono::steady_clock::now() > m_deadline)
        throw Abort{QStringLiteral("Script stopped: time limit exceeded"), 0};
    if (m_memoryLimit) {
        const size_t used = heapInUse();
        const size_t grown = used > m_heapAtStart ? used - m_heapAtStart : 0;
        if (grown > m_memoryLimit || pending > m_memoryLimit - grown)
            throw Abort{QStringLiteral("Out of memory"), 7};
    }
}

} // namespace vbs
