#pragma once
#include <cstdint>

// Generation of the 256 harmonic magnitudes and phases of a signal generator
// in mode "Harmonics" from a few statistical controls, and the
// post-processors applied to them. Magnitudes run from 0 to 1, phases are in
// cycles; index k holds harmonic number k + 1.
namespace KSignalGeneratorHarmonics {

constexpr int kCount = 256;

// The generator's own 64-bit random sequence, started from its seed.
class RandomState {
public:
    explicit RandomState(std::uint64_t seed) noexcept : m_state((seed + 1) * seed * 0xABCDEF12ull) {}

    // Uniform in [0, 1).
    double Unit() noexcept { return double(Advance()) * 0x1p-64; }
    // Uniform in [-1, 1).
    double Signed() noexcept { return double(Advance()) * 0x1p-63 - 1.0; }

private:
    std::uint64_t Advance() noexcept { return m_state = m_state * 214013u + 2531011u; }

    std::uint64_t m_state;
};

struct Recipe {
    double harmonicity = 0.5;         // -1 favours dissonant harmonics, +1 consonant ones
    double slope = -0.5;              // below 0 the levels fall towards the top, above 0 they rise
    double fullness = 0.5;            // 0 leaves most harmonics silent, 1 fills all
    double fundamentalMinimum = 0.75; // lowest level the fundamental is drawn at
};

struct PostProcessing {
    double sharpen = 0;    // -1..1
    double noise = 0;      // 0..1
    double clean = 0;      // 0..1
    double compress = 0;   // 0..1
    double harmonize = 0;  // 0..1
};

// How well harmonic number h (from 2) sits with the fundamental: the weight
// of the nearest semitone interval less the squared detuning from it, >= 0.
double Consonance(int harmonicNumber) noexcept;
// The harmonicity weight of a harmonic of the given consonance.
double HarmonicityWeight(double consonance, double harmonicity) noexcept;

// Replaces the share `generated` (0..1) of the magnitudes and phases by
// freshly drawn ones; the rest keeps the current values.
void Generate(const Recipe& recipe, double generated, float* magnitudes, float* phases, RandomState& random) noexcept;

// Scales the magnitudes to a peak of 1 unless they are all (nearly) 0.
void ScaleToPeak(float* magnitudes) noexcept;

double Sharpen(double magnitude, double amount) noexcept;
double Clean(double magnitude, double amount) noexcept;
double Compress(double magnitude, double amount) noexcept;

// Runs the active post-processors in order; the noise continues `random`.
void PostProcess(const PostProcessing& post, float* magnitudes, RandomState& random) noexcept;

}  // namespace KSignalGeneratorHarmonics
