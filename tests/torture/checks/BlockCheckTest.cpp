#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "KOutputBound.h"

namespace {

std::optional<std::string> Check(std::vector<float> left, std::vector<float> right, double bound = 10) {
    const float* channels[2] = {left.data(), right.data()};
    return CheckBlock(channels, 2, int(left.size()), bound);
}

TEST(BlockCheck, AcceptsFiniteNormalSamplesWithinTheBoundAndExactZeros) {
    EXPECT_FALSE(Check({0.0f, -0.0f, 1e-30f, -10.0f}, {10.0f, std::numeric_limits<float>::min(), 3.0f, 0.5f}));
}

TEST(BlockCheck, NamesTheFirstBadSampleAndWhereItIs) {
    const auto nan = Check({0, 0, 0}, {0, std::numeric_limits<float>::quiet_NaN(), 0});
    ASSERT_TRUE(nan);
    EXPECT_EQ(*nan, "NaN at channel 1, frame 1 of 3");
    const auto infinite = Check({-std::numeric_limits<float>::infinity()}, {0});
    ASSERT_TRUE(infinite);
    EXPECT_EQ(*infinite, "infinite sample at channel 0, frame 0 of 1");
}

TEST(BlockCheck, RefusesDenormalsOfEitherSign) {
    EXPECT_TRUE(Check({std::numeric_limits<float>::denorm_min()}, {0}));
    EXPECT_TRUE(Check({0}, {-std::numeric_limits<float>::min() / 2}));
}

TEST(BlockCheck, RefusesSamplesBeyondTheBoundOnly) {
    EXPECT_FALSE(Check({2.0f}, {-2.0f}, 2.0));
    EXPECT_TRUE(Check({2.001f}, {0}, 2.0));
    EXPECT_TRUE(Check({0}, {-2.001f}, 2.0));
}

TEST(OutputBound, MultipliesTheLimitsOfEachStage) {
    // 2 (summed oscillators) x 5 (a fade) + 1 (mixed input) = 11 per unit of input.
    EXPECT_DOUBLE_EQ(OutputBound(1.0, {false, 1}), 11.0);
    EXPECT_DOUBLE_EQ(OutputBound(0.5, {false, 1}), 5.5);
    // Filters at most 64, gain compensation at most 100.
    EXPECT_DOUBLE_EQ(OutputBound(1.0, {false, 4}), 11.0 * 64);
    EXPECT_DOUBLE_EQ(OutputBound(1.0, {true, 1}), 11.0 * 100);
    EXPECT_DOUBLE_EQ(OutputBound(1.0, {true, 8}), 11.0 * 64 * 100);
}

}  // namespace
