#pragma once
#include <cstdint>

namespace KPlatform {

// A wait timeout meaning "no limit" (all bits set, as the kernel's INFINITE).
inline constexpr std::uint32_t kInfiniteWait = 0xFFFFFFFFu;

// How a wait for a kernel object ended.
enum class WaitResult {
    Acquired,
    Abandoned,  // a mutex whose owner ended without releasing it; now owned by the caller
    TimedOut,
};

}  // namespace KPlatform
