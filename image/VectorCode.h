// Where the vector forms of the image loops can be compiled: always on x86-64 (SSE2 is part of
// it), and on 32-bit x86 as functions compiled for SSE2 that run only where HaveSse2() is true.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#define QV_HAVE_SSE2_CODE 1
#define QV_SSE2_FUNCTION
#elif defined(__i386__) && defined(__GNUC__)
#include <emmintrin.h>
#define QV_HAVE_SSE2_CODE 1
#define QV_SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define QV_HAVE_SSE2_CODE 0
#endif
