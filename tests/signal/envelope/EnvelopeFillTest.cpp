// Block evaluation against single evaluation.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <limits>
#include <typeindex>
#include <typeinfo>
#include <set>

#include "signal/envelope/EnvelopeTesting.h"

namespace {

using namespace envelope_testing;
using Smoothing = KEnvelope::SmoothingType;

constexpr std::uint8_t kShared = KEnvelope::kSharedSmoothing;
constexpr std::uint8_t kSymmetric = KEnvelope::kSymmetricCorner;

// Every segment type, with corners of both smoothing types and both
// neighbourhood rules, points on multiples of 1/16.
KEnvelope EveryKind() {
    return MakeEnvelope({
        {.x = 0.0, .y = 0.0, .curvature = 0.5, .type = Type::Quadratic},
        {.x = 0.0625, .y = 0.8, .flags = kShared | kSymmetric, .curvature = -0.7, .smoothingLeft = 0.6, .type = Type::FourthOrder},
        {.x = 0.125, .y = -0.3, .flags = kShared, .curvature = 0.4, .smoothingLeft = 0.9, .type = Type::Exponencial,
         .smoothingType = Smoothing::Cubic},
        {.x = 0.25, .y = 0.6, .curvatureX = 0.3, .curvature = -0.5, .type = Type::Bezier},
        {.x = 0.3125, .y = -0.9, .flags = kSymmetric, .curvature = 0.8, .smoothingLeft = 0.3, .smoothingRight = 0.8,
         .type = Type::Double},
        {.x = 0.375, .y = 0.2, .type = Type::Smooth1},
        {.x = 0.4375, .y = 0.9, .type = Type::Smooth2},
        {.x = 0.5, .y = -0.4, .curvature = 0.3, .type = Type::Stairs},
        {.x = 0.625, .y = 0.7, .curvature = -0.3, .type = Type::Pulses},
        {.x = 0.6875, .y = -0.2, .curvature = 0.35, .type = Type::Saw},
        {.x = 0.75, .y = 0.5, .curvature = 0.3, .type = Type::Triangles},
        {.x = 0.8125, .y = -0.6, .flags = kShared | kSymmetric, .curvature = 0.2, .smoothingLeft = 0.5, .type = Type::Sines},
        {.x = 0.9375, .y = 0.1, .flags = kShared, .curvature = 0.9, .smoothingLeft = 1, .type = Type::FourthOrder},
        {.x = 0.96875, .y = 0.3},
        {.x = 1.0, .y = 0.0},
    });
}

std::set<std::type_index> ItemKinds(const Computer& computer) {
    std::set<std::type_index> kinds;
    for (int i = 0; i < computer.ItemCount(); ++i) kinds.insert(typeid(computer.ItemAt(i)));
    return kinds;
}

struct Grid {
    double x0;
    double dx;
};

class EnvelopeFill : public testing::TestWithParam<Grid> {};

// A dyadic grid puts positions exactly on the point positions, where the
// discontinuous items change level; the other one lands anywhere.
INSTANTIATE_TEST_SUITE_P(Grids, EnvelopeFill, testing::Values(Grid{0, 1.0 / 8192}, Grid{-0.05, 1.1 / 8191}));

TEST_P(EnvelopeFill, BlocksHoldExactlyTheSingleValues) {
    constexpr int n = 8192;
    Computer computer;
    computer.Build(EveryKind());
    ASSERT_EQ(ItemKinds(computer).size(), 13u) << "the curve should use every item kind";
    ASSERT_EQ(computer.ItemCount(), 16 + 5) << "one item per segment, two constants, five corners";

    std::vector<float> out(n);
    std::vector<double> out64(n);
    Computer computer64;
    computer64.Build(EveryKind());
    const Grid grid = GetParam();
    // Blocks of uneven lengths, each starting where the last one ended.
    const std::array<int, 6> lengths{1, 7, 100, 1000, 3000, n - 4108};
    int start = 0;
    for (int length : lengths) {
        const double x0 = grid.x0 + start * grid.dx;
        computer.Fill(out.data() + start, x0, grid.dx, length);
        computer64.Fill64(out64.data() + start, x0, grid.dx, length);
        for (int k = 0; k < length; ++k) {
            const double expected = computer.Evaluate(x0 + k * grid.dx);
            ASSERT_EQ(out[start + k], float(expected)) << start + k;
            ASSERT_EQ(out64[start + k], expected) << start + k;
        }
        start += length;
    }
}

TEST(EnvelopeFillSweep, StepsNarrowerOrWiderThanThePositionSpacing) {
    // 128 pulse halves and 64 stairs across the segment.
    for (Type type : {Type::Pulses, Type::Stairs}) {
        Computer computer;
        computer.Build(MakeEnvelope({{.x = 0, .y = -1, .curvature = 1, .type = type}, {.x = 1, .y = 1}}));
        for (double dx : {0.0213, 0.0005}) {
            std::vector<float> out(1000);
            computer.Fill(out.data(), 0.001, dx, 1000);
            for (int k = 0; k < 1000; ++k) ASSERT_EQ(out[k], float(computer.Evaluate(0.001 + k * dx))) << k;
        }
    }
}

TEST(EnvelopeFillSweep, StartingBeforeThePreviousBlockStartsANewSweep) {
    Computer computer;
    computer.Build(EveryKind());
    std::vector<double> first(1000);
    std::vector<double> again(1000);
    computer.Fill64(first.data(), 0, 0.001, 1000);
    computer.Fill64(again.data(), 0, 0.001, 1000);
    EXPECT_EQ(first, again);
}

TEST(EnvelopeFillSweep, OddStepsAndEmptyBlocks) {
    Computer computer;
    std::vector<double> out(5, -7.0);
    computer.Fill64(out.data(), 0, 0.5, 3);
    EXPECT_EQ(out[2], 0.0) << "an unbuilt computer is 0";

    computer.Build(EveryKind());
    computer.Fill64(out.data(), 0.3, 0, 4);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(out[k], computer.Evaluate(0.3)) << "a zero step repeats one position";
    EXPECT_EQ(out[4], -7.0);
    computer.Fill64(out.data() + 4, 0.5, 0.01, 0);
    EXPECT_EQ(out[4], -7.0);

    // An infinite step ends the block after the last point instead of stalling.
    computer.Fill64(out.data(), 0.3, std::numeric_limits<double>::infinity(), 3);
    EXPECT_EQ(out[2], 0.0);
}

// Damaged states can hold a point at x NaN or at an infinite x. The NaN point
// has no place and is left out; a corner at an infinite x reaches NaN and
// must not stop the sweep. Either way the rest of the curve still plays.
TEST(EnvelopeFillSweep, PointsAtNaNOrInfiniteXNeitherStallNorHideTheRest) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<KEnvelope> damaged = {
        MakeEnvelope({{.x = 0, .y = 0}, {.x = nan, .y = 0.3}, {.x = 1, .y = 1}}),
        MakeEnvelope({{.x = 0, .y = 0}, {.x = 1, .y = 1}, {.x = nan, .y = -0.3}}),
        // The segment towards x infinity is flat at 1 (u = 0 wherever x is finite).
        MakeEnvelope({{.x = 0, .y = 0}, {.x = 1, .y = 1}, {.x = inf, .y = 0, .smoothingLeft = 0.5}}),
    };
    for (std::size_t e = 0; e < damaged.size(); ++e) {
        auto out = std::make_shared<std::vector<float>>(64, -7.0f);
        auto computer = std::make_shared<Computer>();
        computer->Build(damaged[e]);
        ASSERT_TRUE(FinishesInTime([computer, out] { computer->Fill(out->data(), 0, 1.0 / 32, 64); }))
            << "envelope " << e << " never finished";
        // Straight from (0, 0) to (1, 1), then held at 1: min(k / 32, 1).
        for (int k = 0; k < 64; ++k)
            ASSERT_FLOAT_EQ((*out)[k], std::min(k / 32.0f, 1.0f)) << "envelope " << e << ", sample " << k;
    }
}

// A NaN smoothing from a damaged state is no smoothing: the corner stays sharp.
TEST(EnvelopeFillSweep, NaNSmoothingLeavesTheCornerSharp) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto computer = std::make_shared<Computer>();
    computer->Build(MakeEnvelope({{.x = 0, .y = 0}, {.x = 0.5, .y = 1, .smoothingLeft = nan}, {.x = 1, .y = 0}}));
    auto out = std::make_shared<std::vector<float>>(8, -7.0f);
    ASSERT_TRUE(FinishesInTime([computer, out] { computer->Fill(out->data(), 0, 0.125, 8); }));
    const float tent[8] = {0, 0.25f, 0.5f, 0.75f, 1, 0.75f, 0.5f, 0.25f};
    for (int k = 0; k < 8; ++k) EXPECT_FLOAT_EQ((*out)[k], tent[k]) << k;
}

}  // namespace
