#pragma once

#include <QString>

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace vbs {

// Native stack left to the running thread. Scripts nest calls, Eval and expressions; deep nesting
// must end in "Out of stack space" (28) while enough stack remains for the host and the error path.

// Lowest address the engine lets this thread's stack grow to (0 when the bounds are unknown).
uintptr_t computeStackLimit();
inline uintptr_t stackLimit()
{
    thread_local const uintptr_t limit = computeStackLimit(); // the bounds are read once per thread
    return limit;
}

inline uintptr_t stackPointer()
{
#if defined(__GNUC__) || defined(__clang__)
    return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
#else
    volatile char probe = 0;
    return reinterpret_cast<uintptr_t>(&probe);
#endif
}

// Bytes the process heap holds now (0 where the platform cannot tell).
size_t heapInUse();

// Thrown past every On Error Resume Next: the host's budget, time or memory limit ran out, or it
// asked to stop. `number` is what lastError() reports (7 for the memory limit, else 0).
struct Abort {
    QString reason;
    int number = 0;
};

// Memory and wall-clock limits of one host call. Allocations of script data report their size
// here; the heap is measured once per few megabytes reported, and before any large allocation.
class ResourceMeter {
public:
    void begin(size_t memoryLimit, int64_t timeLimitMs);
    // Before allocating `bytes` of script data; throws Abort when the call would exceed a limit.
    void charge(size_t bytes)
    {
        if (!m_active)
            return;
        m_sinceCheck += bytes;
        if (bytes >= kLargeAllocation || m_sinceCheck >= m_checkEvery)
            check(bytes);
    }
    // Periodic check from the statement loop (cheap: one countdown).
    void tick()
    {
        if (m_active && --m_ticks <= 0)
            check(0);
    }
    void check(size_t pending);

    // The meter of the call running on this thread, or nullptr.
    static ResourceMeter *current();
    struct Scope {
        explicit Scope(ResourceMeter *m);
        ~Scope();
        ResourceMeter *saved;
    };

private:
    static constexpr size_t kLargeAllocation = size_t(1) << 20;
    bool m_active = false;
    size_t m_memoryLimit = 0;
    size_t m_heapAtStart = 0;
    size_t m_sinceCheck = 0;
    size_t m_checkEvery = size_t(16) << 20;
    int m_ticks = 0;
    std::chrono::steady_clock::time_point m_deadline{};
    bool m_hasDeadline = false;
};

// Reports an allocation of script data to the running call's meter, if any.
inline void chargeMemory(size_t bytes)
{
    if (ResourceMeter *m = ResourceMeter::current())
        m->charge(bytes);
}

} // namespace vbs
