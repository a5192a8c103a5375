#pragma once
#include <cstdint>

// The process-wide pseudo-random generator shared by every randomisation:
// state = state * 214013 + 2531011 (32-bit wrap-around); a draw is bits 16..30.
namespace KRandom {

constexpr int kMaxDraw = 32767;

int Next() noexcept;             // 0 .. 32767
double NextUnit() noexcept;      // draw / 32767, 0 .. 1
std::uint32_t State() noexcept;
void Seed(std::uint32_t state) noexcept;

// The step itself, for code that keeps a private state of the same kind.
constexpr int Advance(std::uint32_t& state) noexcept {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

}  // namespace KRandom
