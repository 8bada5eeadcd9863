// The AVX-512 intrinsics and the target attribute of the codecs' AVX-512 kernels (F, BW,
// VL, VBMI, VBMI2): only functions marked with it carry AVX-512 code, so the rest of the
// program runs on any x86-64.
#pragma once
#if defined(__x86_64__)
// GCC 12's AVX-512 headers trip its own uninitialised-value warnings (GCC bug 105593).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#define XPKIT_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,popcnt")))
#endif
