#pragma once
// Hot loops are built twice, for x86-64-v3 (AVX2, FMA) and for the baseline, and the loader
// picks the one this processor runs: the library stays portable and still uses the machine.
// Floating-point contraction stays off (ISO mode), so both versions compute the same results.
// Under ThreadSanitizer the loader's version resolvers run before the sanitizer runtime is
// ready and crash the process, so that build keeps the baseline version only.

#if defined(__SANITIZE_THREAD__)
#define VELORA_KERNEL_CLONES
#else
#define VELORA_KERNEL_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
