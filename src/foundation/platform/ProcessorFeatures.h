#pragma once
#include <cstdint>

// The SSE levels of the processor, read once when the library is loaded and
// only read afterwards; the vector routines pick their code paths from them.
struct KProcessorFeatures {
    bool sse = false;
    bool sse2 = false;
    bool sse3 = false;
    bool ssse3 = false;
    bool sse41 = false;
    bool sse42 = false;

    // The flags in the ECX and EDX registers of processor identification leaf 1.
    static KProcessorFeatures FromIdentification(std::uint32_t ecx, std::uint32_t edx) noexcept;

    // Reads the processor's identification into the process-wide flags.
    static void Detect() noexcept;
    static const KProcessorFeatures& Current() noexcept;
};
