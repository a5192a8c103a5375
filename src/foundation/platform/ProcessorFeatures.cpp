#include "foundation/platform/ProcessorFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

KProcessorFeatures gFeatures;

constexpr bool Bit(std::uint32_t word, int bit) noexcept { return ((word >> bit) & 1u) != 0; }

}  // namespace

KProcessorFeatures KProcessorFeatures::FromIdentification(std::uint32_t ecx, std::uint32_t edx) noexcept {
    KProcessorFeatures features;
    features.sse = Bit(edx, 25);
    features.sse2 = Bit(edx, 26);
    features.sse3 = Bit(ecx, 0);
    features.ssse3 = Bit(ecx, 9);
    features.sse41 = Bit(ecx, 19);
    features.sse42 = Bit(ecx, 20);
    return features;
}

// Processors without the identification instruction have none of the SSE
// levels, so the flags stay clear there.
void KProcessorFeatures::Detect() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) gFeatures = FromIdentification(ecx, edx);
#endif
}

const KProcessorFeatures& KProcessorFeatures::Current() noexcept { return gFeatures; }
