// Linked into every benchmark: the build it was made with goes into the header that Google
// Benchmark prints, so a figure from an unoptimised build is never read as the real one.
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

#ifndef MDR_BUILD_TYPE
#define MDR_BUILD_TYPE "sin tipo"
#endif

#if defined(__OPTIMIZE__) && defined(NDEBUG)
constexpr bool kOptimised = true;
#else
constexpr bool kOptimised = false;
#endif

const bool registered = [] {
    benchmark::AddCustomContext("compilacion", std::string(MDR_BUILD_TYPE) +
                                                   (kOptimised ? ", optimizada, NDEBUG" : ", SIN OPTIMIZAR"));
    if (!kOptimised)
        std::fprintf(stderr, "ADVERTENCIA: benchmark compilado sin optimizar (%s); use make bench\n",
                     MDR_BUILD_TYPE);
    return true;
}();

} // namespace
