#include "VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

// Not inlined: around a call the compiler keeps nothing in the vector registers that this clears.
__attribute__((noinline)) void ClearVectorState()
{
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        __asm__ volatile("vzeroupper" ::: "memory");
}

#else

void ClearVectorState() { }

#endif
