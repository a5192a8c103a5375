#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "signal/generator/KSignalGeneratorShapes.h"

namespace {

const KSignalGeneratorShapes& Shapes() { return KSignalGeneratorShapes::Instance(); }

double QuarterSine(int k) { return std::sin(2 * std::numbers::pi * k / 8192); }

TEST(KSignalGeneratorShapes, QuarterWaveShapesAreMirroredFromTheirFirstQuarter) {
    const auto& sine = Shapes().Basic(5);
    EXPECT_EQ(sine[2048], 1.0f);
    EXPECT_EQ(sine[0], 0.0f);
    EXPECT_EQ(sine[4096], 0.0f);
    EXPECT_EQ(sine[6144], -1.0f);
    EXPECT_EQ(sine[100], float(QuarterSine(100)));
    EXPECT_EQ(sine[4096 - 100], sine[100]);
    EXPECT_EQ(sine[4096 + 100], -sine[100]);
    EXPECT_EQ(sine[8192 - 100], -sine[100]);

    EXPECT_EQ(Shapes().Basic(0)[1024], float(std::pow(0.5, 4)));  // (1024 / 2048)^4
    EXPECT_EQ(Shapes().Basic(1)[512], 0.25f);                      // 512 / 2048
    EXPECT_EQ(Shapes().Basic(1)[4096 + 512], -0.25f);
    EXPECT_EQ(Shapes().Basic(2)[700], float(std::pow(QuarterSine(700), 8)));
    EXPECT_EQ(Shapes().Basic(10)[700], float(std::pow(QuarterSine(700), 0.2)));
}

TEST(KSignalGeneratorShapes, SumsOfSinesAndSaws) {
    const double j = 1000;
    const double harmonics = 0.5 * std::sin(2 * std::numbers::pi * j / 8192) +
                             0.3 * std::sin(2 * std::numbers::pi * 2 * j / 8192) +
                             0.1 * std::sin(2 * std::numbers::pi * 4 * j / 8192);
    EXPECT_NEAR(Shapes().Basic(6)[1000], harmonics, 1e-7);
    EXPECT_NEAR(Shapes().Basic(7)[1000] - Shapes().Basic(6)[1000],
                0.05 * std::sin(2 * std::numbers::pi * 8 * j / 8192) + 0.02 * std::sin(2 * std::numbers::pi * 16 * j / 8192),
                1e-7);
    EXPECT_EQ(Shapes().Basic(12)[0], 1.0f);
    EXPECT_EQ(Shapes().Basic(12)[4096], 0.5f);
    EXPECT_EQ(Shapes().Basic(13)[6144], -0.5f);
}

TEST(KSignalGeneratorShapes, DisharmonicsFadesBothEnds) {
    const auto& t = Shapes().Basic(8);
    EXPECT_EQ(t[0], 0.0f);
    EXPECT_EQ(t[8191], 0.0f);
    const double j = 4000;  // untouched by the fade
    double expected = 0.3 * std::sin(2 * std::numbers::pi * j / 8192);
    const double partials[4][2] = {{0.2, 1.1}, {0.2, 1.2}, {0.2, 1.3}, {0.1, 1.4}};
    for (const auto& p : partials) expected += p[0] * std::sin(2 * std::numbers::pi * p[1] * j / 8192);
    EXPECT_NEAR(t[4000], expected, 1e-7);
}

TEST(KSignalGeneratorShapes, RectangleHasSixteenSampleEdges) {
    const auto& t = Shapes().Basic(11);
    EXPECT_EQ(t[0], 0.0f);
    EXPECT_EQ(t[15], 1.0f);
    EXPECT_EQ(t[16], 1.0f);
    EXPECT_EQ(t[4095], 0.0f);
    EXPECT_EQ(t[4096 + 3], float(-3 / 15.0));
    EXPECT_EQ(t[8191 - 3], float(-3 / 15.0));
    EXPECT_EQ(t[6000], -1.0f);
}

// Independent recomputation of the first draws: state 0 -> 2531011 ->
// 2531011 * 214013 + 2531011 (mod 2^32); a draw is bits 16 to 30.
TEST(KSignalGeneratorShapes, NoiseStartsFromAZeroState) {
    std::uint32_t state = 2531011u;
    EXPECT_EQ(Shapes().Basic(14)[0], float(((state >> 16) & 0x7FFF) * 2.0 / 32767 - 1));  // draw 38
    state = state * 214013u + 2531011u;
    EXPECT_EQ(Shapes().Basic(14)[1], float(((state >> 16) & 0x7FFF) * 2.0 / 32767 - 1));
}

// u_0 = 0 xor 0xCCDD1122 = 3437039906; mod 1e6 = 39906; 39906 * 2e-6 - 1.
TEST(KSignalGeneratorShapes, MessIsAHashOfTheIndex) {
    EXPECT_EQ(Shapes().Basic(15)[0], float(39906 * 2e-6 - 1));
    const std::uint32_t u = (100u * 0x4246859Au) ^ 0xCCDD1122u;
    EXPECT_EQ(Shapes().Basic(15)[100], float((u % 1000000u) * 2e-6 - 1));
}

TEST(KSignalGeneratorShapes, StepShapesAndTheirMirrors) {
    EXPECT_EQ(Shapes().Step(0)[500], 1.0f);
    EXPECT_EQ(Shapes().Step(1)[1023], 1.0f);
    EXPECT_EQ(Shapes().Step(2)[0], 1.0f);
    EXPECT_EQ(Shapes().Step(3)[511], float((511 / 1023.0) * (511 / 1023.0)));
    EXPECT_EQ(Shapes().Step(15)[511], 0.0f);
    EXPECT_EQ(Shapes().Step(15)[512], 1.0f);
    EXPECT_EQ(Shapes().Step(16)[511], 1.0f);
    EXPECT_EQ(Shapes().Step(16)[512], 0.0f);
    EXPECT_EQ(Shapes().Step(17)[0], 0.0f);
    EXPECT_EQ(Shapes().Step(18)[0], 1.0f);
    EXPECT_NEAR(Shapes().Step(20)[0], 1.0, 1e-7);  // 1 - (0.5 + 0.5 sin(-pi/2))
    // Wobble 3 starts from fmod(0, 1)^1.6 = 0.
    EXPECT_NEAR(Shapes().Step(23)[0], 0.0, 1e-9);
    const double x = 400 / 1023.0;
    EXPECT_EQ(Shapes().Step(27)[400], float(std::pow(std::fmod(3 * x, 1.0), 0.625) * (0.8 + 0.2 * x)));
    for (int mirror = 29; mirror <= 36; ++mirror) {
        EXPECT_EQ(Shapes().Step(mirror)[10], Shapes().Step(mirror - 8)[1013]) << mirror;
    }
}

}  // namespace
