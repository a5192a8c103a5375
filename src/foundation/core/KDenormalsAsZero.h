#pragma once
// For the lifetime of the object, the processor treats numbers too small
// for a normal float or double as zero, both as results and as operands;
// the mode the caller had is restored at the end. Audio that decays or is
// scaled below the normal range would otherwise pass through denormal
// numbers, which many processors handle a hundred times slower and which
// hosts do not want handed to them. Changing the mode is a register write:
// real-time safe.
#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

class KDenormalsAsZero {
public:
#if defined(__SSE2__) || defined(_M_X64)
    // Flush to zero (results) and denormals are zero (operands).
    static constexpr unsigned kModeBits = 0x8000u | 0x0040u;

    KDenormalsAsZero() noexcept : m_saved(_mm_getcsr()) { _mm_setcsr(m_saved | kModeBits); }
    ~KDenormalsAsZero() { _mm_setcsr(m_saved); }

private:
    unsigned m_saved;
#elif defined(__aarch64__)
    // The FZ bit of the floating-point control register.
    static constexpr unsigned long kModeBits = 1ul << 24;

    KDenormalsAsZero() noexcept {
        asm volatile("mrs %0, fpcr" : "=r"(m_saved));
        asm volatile("msr fpcr, %0" : : "r"(m_saved | kModeBits));
    }
    ~KDenormalsAsZero() { asm volatile("msr fpcr, %0" : : "r"(m_saved)); }

private:
    unsigned long m_saved;
#else
    // Elsewhere the arithmetic keeps its own care (the input offset, the
    // filters that settle to zero).
    KDenormalsAsZero() noexcept = default;
#endif

public:
    KDenormalsAsZero(const KDenormalsAsZero&) = delete;
    KDenormalsAsZero& operator=(const KDenormalsAsZero&) = delete;
};
