#pragma once

#include <cstdint>

// Native stack left to the running thread. Scripts nest calls, Eval and expressions; deep nesting
// must end in "Out of stack space" (28) while enough stack remains for the host and the error path.
namespace vbs {

// Lowest address the engine lets this thread's stack grow to (0 when the bounds are unknown).
uintptr_t stackLimit();

inline uintptr_t stackPointer()
{
#if defined(__GNUC__) || defined(__clang__)
    return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
#else
    volatile char probe = 0;
    return reinterpret_cast<uintptr_t>(&probe);
#endif
}

} // namespace vbs
