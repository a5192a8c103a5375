#include "foundation/platform/Clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace KPlatform {

std::uint32_t MillisecondClock() noexcept { return std::uint32_t(timeGetTime()); }

}  // namespace KPlatform
