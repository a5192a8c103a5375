#include "foundation/core/Random.h"

#include <atomic>

namespace KRandom {
namespace {
// One plain shared seed; relaxed atomics keep concurrent draws free of data
// races without ordering costs (a lost update only repeats a number).
std::atomic<std::uint32_t> gState{0};
}  // namespace

int Next() noexcept {
    std::uint32_t state = gState.load(std::memory_order_relaxed);
    int draw = Advance(state);
    gState.store(state, std::memory_order_relaxed);
    return draw;
}

double NextUnit() noexcept { return Next() * (1.0 / kMaxDraw); }

std::uint32_t State() noexcept { return gState.load(std::memory_order_relaxed); }
void Seed(std::uint32_t state) noexcept { gState.store(state, std::memory_order_relaxed); }

}  // namespace KRandom
