#include "foundation/platform/Clock.h"

#include <ctime>

namespace KPlatform {

std::uint32_t MillisecondClock() noexcept {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t milliseconds = std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u;
    return std::uint32_t(milliseconds);  // wraps like the Windows timer
}

}  // namespace KPlatform
