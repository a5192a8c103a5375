#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "signal/generator/KSignalGeneratorHarmonics.h"

namespace {

namespace H = KSignalGeneratorHarmonics;

// The generator's sequence written out: start (s + 1) s × 0xABCDEF12, then
// r × 214013 + 2531011 before each draw, u = r / 2^64.
struct ReferenceRandom {
    explicit ReferenceRandom(std::uint64_t seed) : r((seed + 1) * seed * 0xABCDEF12ull) {}
    double Unit() {
        r = r * 214013u + 2531011u;
        return std::ldexp(double(r), -64);
    }
    std::uint64_t r;
};

TEST(KSignalGeneratorHarmonics, ConsonanceFollowsTheNearestInterval) {
    EXPECT_DOUBLE_EQ(H::Consonance(2), 1.0);  // octave: 12 semitones, weight 1, in tune
    EXPECT_DOUBLE_EQ(H::Consonance(4), 1.0);
    // Harmonic 3: 19.02 semitones, a fifth (weight 0.8) 0.0196 sharp.
    const double fifth = 12 * std::log2(3.0) - 19;
    EXPECT_NEAR(H::Consonance(3), 0.8 - (2 * fifth) * (2 * fifth), 1e-12);
    // Harmonic 7: 33.69 semitones rounds to 34, 10 above the octave (weight 0.45), 0.31 flat.
    const double seventh = 12 * std::log2(7.0) - 34;
    EXPECT_NEAR(H::Consonance(7), 0.45 - (2 * seventh) * (2 * seventh), 1e-12);
    // Harmonic 11: 41.51 semitones rounds to 42 (weight 0.15), 0.49 flat: nothing left.
    EXPECT_EQ(H::Consonance(11), 0.0);
}

TEST(KSignalGeneratorHarmonics, HarmonicityWeightsConsonanceBothWays) {
    const double c = 0.6;
    EXPECT_DOUBLE_EQ(H::HarmonicityWeight(c, 0), 1.0);          // b = 1: all equal
    EXPECT_DOUBLE_EQ(H::HarmonicityWeight(c, 0.25), 0.5 + 0.5 * c);
    EXPECT_DOUBLE_EQ(H::HarmonicityWeight(c, 0.5), c);          // exponent 1
    EXPECT_NEAR(H::HarmonicityWeight(c, 1), std::pow(c, 5), 1e-12);
    EXPECT_DOUBLE_EQ(H::HarmonicityWeight(c, -0.25), 1 - 0.5 * c);
    EXPECT_DOUBLE_EQ(H::HarmonicityWeight(c, -0.5), 1 - c);
    EXPECT_NEAR(H::HarmonicityWeight(c, -1), std::pow(1 - c, 5), 1e-12);
}

// Fullness 1 (a = 0: levels u), harmonicity 0 (weight 1), slope 0 (factor
// 1): every generated magnitude is its level draw.
TEST(KSignalGeneratorHarmonics, GenerationDrawsPhaseThenLevelPerHarmonic) {
    const H::Recipe recipe{0, 0, 1, 0.75};
    std::array<float, 256> magnitudes{}, phases{};
    H::RandomState random(12345);
    H::Generate(recipe, 1, magnitudes.data(), phases.data(), random);

    ReferenceRandom reference(12345);
    EXPECT_FLOAT_EQ(magnitudes[0], float(reference.Unit() * 0.25 + 0.75));
    EXPECT_EQ(phases[0], 0.0f);
    for (int k = 1; k < 256; ++k) {
        EXPECT_FLOAT_EQ(phases[k], float(reference.Unit())) << k;
        EXPECT_FLOAT_EQ(magnitudes[k], float(reference.Unit())) << k;
    }
}

TEST(KSignalGeneratorHarmonics, SlopeAndFullnessShapeTheLevels) {
    std::array<float, 256> magnitudes{}, phases{};
    H::RandomState random(7);
    // Slope -1: (1 - k/256)^10 pulls the top harmonics down.
    H::Generate({0, -1, 1, 0.75}, 1, magnitudes.data(), phases.data(), random);
    for (int k = 200; k < 256; ++k) EXPECT_LE(magnitudes[k], std::pow(1 - k / 256.0, 10) + 1e-7) << k;
    // Fullness 0: a = 1, levels (1 - u)(-1000) + 201 u > 0 only for u > 1000 / 1201.
    H::Generate({0, 0, 0, 0.75}, 1, magnitudes.data(), phases.data(), random);
    int silent = 0;
    for (int k = 1; k < 256; ++k) silent += magnitudes[k] == 0.0f;
    EXPECT_GT(silent, 150);  // about 83 % of 255
}

TEST(KSignalGeneratorHarmonics, PartialGenerationBlendsWithTheCurrentValues) {
    std::array<float, 256> magnitudes{}, phases{};
    magnitudes.fill(1.0f);
    phases.fill(0.5f);
    H::RandomState random(99);
    H::Generate({0, 0, 1, 1}, 0.25, magnitudes.data(), phases.data(), random);
    ReferenceRandom reference(99);
    reference.Unit();  // the fundamental: minimum 1 makes it 1 whatever the draw
    EXPECT_FLOAT_EQ(magnitudes[0], 1.0f);
    EXPECT_FLOAT_EQ(phases[0], 0.375f);  // 0.5 × (1 - 0.25)
    EXPECT_FLOAT_EQ(phases[1], float(reference.Unit() * 0.25 + 0.375));
    EXPECT_FLOAT_EQ(magnitudes[1], float(reference.Unit() * 0.25 + 0.75));
}

TEST(KSignalGeneratorHarmonics, CleanZeroesTheQuietAndStretchesTheEdge) {
    // Clean 0.5: below 0.45 silent, 0.45..0.5 onto 0..0.5, the rest unchanged.
    EXPECT_EQ(H::Clean(0.44, 0.5), 0.0);
    EXPECT_NEAR(H::Clean(0.45, 0.5), 0.0, 1e-12);
    EXPECT_NEAR(H::Clean(0.475, 0.5), 0.25, 1e-12);
    EXPECT_NEAR(H::Clean(0.4999, 0.5), 0.499, 1e-9);
    EXPECT_EQ(H::Clean(0.5, 0.5), 0.5);
    EXPECT_EQ(H::Clean(0.8, 0.5), 0.8);
}

TEST(KSignalGeneratorHarmonics, CompressAndSharpen) {
    // Compress 0: p = q = 0.5, the identity.
    EXPECT_DOUBLE_EQ(H::Compress(0.3, 0), 0.3);
    EXPECT_DOUBLE_EQ(H::Compress(0.7, 0), 0.7);
    // Compress 1: p = 0.001, q = 0.999; above p everything nears 1.
    EXPECT_NEAR(H::Compress(0.5, 1), (0.5 - 0.001) * 0.001 / 0.999 + 0.999, 1e-12);
    EXPECT_NEAR(H::Compress(0.0005, 1), 0.0005 * 0.999 / 0.001, 1e-12);
    // Sharpen s raises to 4^s.
    EXPECT_DOUBLE_EQ(H::Sharpen(0.5, 0.5), 0.25);
    EXPECT_DOUBLE_EQ(H::Sharpen(0.25, -0.5), 0.5);
}

// From harmonic 1 at 1 with Harmonize 0.5: 0.5 at 2, 0.25 at 4, ... 0.5^8 at 256.
TEST(KSignalGeneratorHarmonics, HarmonizeEchoesUpTheOctaves) {
    std::array<float, 256> magnitudes{};
    magnitudes[0] = 1.0f;
    H::RandomState random(1);
    H::PostProcess({0, 0, 0, 0, 0.5}, magnitudes.data(), random);
    for (int octave = 1; octave <= 8; ++octave) EXPECT_FLOAT_EQ(magnitudes[(1 << octave) - 1], float(std::pow(0.5, octave)));
    EXPECT_EQ(magnitudes[2], 0.0f);
}

TEST(KSignalGeneratorHarmonics, NoiseLeavesTheFundamentalAndStaysInRange) {
    std::array<float, 256> magnitudes{};
    magnitudes.fill(0.5f);
    H::RandomState random(3);
    H::PostProcess({0, 1, 0, 0, 0}, magnitudes.data(), random);
    EXPECT_EQ(magnitudes[0], 0.5f);
    int changed = 0;
    for (int k = 1; k < 256; ++k) {
        EXPECT_GE(magnitudes[k], 0.0f);
        EXPECT_LE(magnitudes[k], 1.0f);
        changed += magnitudes[k] != 0.5f;
    }
    EXPECT_GT(changed, 250);
}

TEST(KSignalGeneratorHarmonics, ScaleToPeakLeavesSilenceAlone) {
    std::array<float, 256> magnitudes{};
    H::ScaleToPeak(magnitudes.data());
    EXPECT_EQ(magnitudes[0], 0.0f);
    magnitudes[3] = 0.25f;
    magnitudes[4] = 0.125f;
    H::ScaleToPeak(magnitudes.data());
    EXPECT_EQ(magnitudes[3], 1.0f);
    EXPECT_EQ(magnitudes[4], 0.5f);
}

}  // namespace
