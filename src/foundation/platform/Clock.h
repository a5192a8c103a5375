#pragma once
#include <cstdint>

namespace KPlatform {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the system's
// multimedia timer; compare two readings by unsigned subtraction.
std::uint32_t MillisecondClock() noexcept;

}  // namespace KPlatform
