#include "foundation/core/ProcessDetaching.h"

#include <atomic>

namespace KProcessDetaching {
namespace {
std::atomic<bool> gDetaching{false};
}  // namespace

void Set(bool detaching) noexcept { gDetaching.store(detaching, std::memory_order_release); }

bool IsSet() noexcept { return gDetaching.load(std::memory_order_acquire); }

}  // namespace KProcessDetaching
