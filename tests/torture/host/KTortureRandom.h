#pragma once
// The schedule's random source: a small generator whose sequence depends
// only on its seed, so that a run replays exactly from its seed and step.
#include <cstdint>

class KTortureRandom {
public:
    explicit KTortureRandom(std::uint64_t seed) noexcept : m_state(seed) {}

    // A generator for one step of one schedule, independent of how many
    // numbers earlier steps drew.
    static KTortureRandom ForStep(std::uint64_t seed, std::uint64_t step) noexcept {
        KTortureRandom mixer(seed ^ (step * 0x9E3779B97F4A7C15ull));
        return KTortureRandom(mixer.Next());
    }

    // splitmix64
    std::uint64_t Next() noexcept {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < count
    int Below(int count) noexcept { return count <= 0 ? 0 : int(Next() % std::uint64_t(count)); }
    // lowest <= result <= highest
    int Between(int lowest, int highest) noexcept { return lowest + Below(highest - lowest + 1); }
    // 0 <= result < 1
    double Unit() noexcept { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    bool Chance(double probability) noexcept { return Unit() < probability; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&choices)[N]) noexcept {
        return choices[Below(int(N))];
    }

private:
    std::uint64_t m_state;
};
