// Each segment type against its closed form on the segment from P to Q.
#include <gtest/gtest.h>

#include <set>

#include "signal/envelope/EnvelopeTesting.h"

namespace {

using namespace envelope_testing;

constexpr Sample kP{0.2, -0.5};
constexpr Sample kQ{0.7, 1.5};
constexpr double kD = kQ.y - kP.y;
constexpr double kPositions[] = {0.0, 0.1, 0.35, 0.5, 0.8, 0.999};

// An envelope from P to Q whose first point carries the segment settings.
class Segment {
public:
    explicit Segment(Point p) {
        p.x = kP.x;
        p.y = kP.y;
        m_computer.Build(MakeEnvelope({p, {.x = kQ.x, .y = kQ.y}}));
    }
    Segment(Type type, double curvature, double curvatureX = 0)
        : Segment(Point{.curvatureX = curvatureX, .curvature = curvature, .type = type}) {}

    double At(double u) const { return m_computer.Evaluate(X(u)); }
    static double X(double u) { return kP.x + u * (kQ.x - kP.x); }
    template <class Kind>
    bool Is() const { return ItemIs<Kind>(m_computer, X(0.5)); }
    const Computer& Built() const { return m_computer; }

private:
    Computer m_computer;
};

double PositiveFourthOrder(double c, double u) { return c * u * u * u * u + (1 - c) * u; }

TEST(EnvelopeItems, StraightLineFromOriginToOne) {
    Computer computer;
    computer.Build(MakeEnvelope({{.x = 0, .y = 0}, {.x = 1, .y = 1}}));
    EXPECT_TRUE(ItemIs<Computer::ItemLinear>(computer, 0.5));
    for (double x : {0.0, 0.125, 0.3, 0.77, 0.999}) EXPECT_NEAR(computer.Evaluate(x), x, 1e-15);
}

TEST(EnvelopeItems, QuadraticMixesChordAndSquare) {
    const Segment segment(Type::Quadratic, 0.4);
    ASSERT_TRUE(segment.Is<Computer::ItemQuadratic>());
    for (double u : kPositions) EXPECT_NEAR(segment.At(u), kP.y + kD * (0.6 * u + 0.4 * u * u), 1e-12) << u;
}

TEST(EnvelopeItems, FourthOrderFullCurvatureIsUToTheFourthAndItsReflection) {
    Computer rising;
    rising.Build(MakeEnvelope({{.x = 0, .y = 0, .curvature = 1}, {.x = 1, .y = 1}}));
    Computer falling;
    falling.Build(MakeEnvelope({{.x = 0, .y = 0, .curvature = -1}, {.x = 1, .y = 1}}));
    for (double u : kPositions) {
        EXPECT_NEAR(rising.Evaluate(u), std::pow(u, 4), 1e-14) << u;
        EXPECT_NEAR(falling.Evaluate(u), 1 - std::pow(1 - u, 4), 1e-14) << u;
    }
}

TEST(EnvelopeItems, FourthOrderNegativeCurvatureTurnsThePositiveShapeHalfRound) {
    const Segment positive(Type::FourthOrder, 0.6);
    const Segment negative(Type::FourthOrder, -0.6);
    ASSERT_TRUE(negative.Is<Computer::ItemFourthOrder>());
    for (double u : kPositions) {
        EXPECT_NEAR(positive.At(u), kP.y + kD * PositiveFourthOrder(0.6, u), 1e-12) << u;
        EXPECT_NEAR(negative.At(u), kP.y + kD * (1 - PositiveFourthOrder(0.6, 1 - u)), 1e-12) << u;
    }
}

TEST(EnvelopeItems, ExponencialFollowsTheSuperellipse) {
    const Segment segment(Type::Exponencial, 0.3);
    ASSERT_TRUE(segment.Is<Computer::ItemExponencial>());
    // Curvature 0 gives e = 1, the chord.
    const Computer::ItemExponencial straight({kP.x, kP.y}, {kQ.x, kQ.y}, 0);
    const double e = std::exp(0.9);
    for (double u : kPositions) {
        EXPECT_NEAR(segment.At(u), kP.y + kD * (1 - std::pow(1 - std::pow(u, e), 1 / e)), 1e-12) << u;
        EXPECT_NEAR(straight.Evaluate(Segment::X(u)), kP.y + kD * u, 1e-12) << u;
    }
}

TEST(EnvelopeItems, BezierPassesThroughItsParametricPoints) {
    // cx = 0.5, c = -0.7: control point (0.2 + 0.5 * 0.75, -0.5 + 2 * 0.15).
    const Segment bent(Type::Bezier, -0.7, 0.5);
    // cx = -1 puts the control point straight above P, where x(t) is flat.
    const Segment steep(Type::Bezier, 0.9, -1);
    ASSERT_TRUE(bent.Is<Computer::ItemBezier>());
    const Sample bentControl{0.575, -0.2};
    const Sample steepControl{kP.x, kP.y + kD * 0.95};
    for (double t : {0.0, 0.05, 0.3, 0.5, 0.9, 1.0}) {
        const Sample a = Bezier(kP, bentControl, kQ, t);
        EXPECT_NEAR(bent.Built().ItemAt(1).Evaluate(a.x), a.y, 1e-12) << t;
        const Sample b = Bezier(kP, steepControl, kQ, t);
        EXPECT_NEAR(steep.Built().ItemAt(1).Evaluate(b.x), b.y, 1e-12) << t;
    }
}

TEST(EnvelopeItems, DoubleIsAnSCurveThroughTheMidpoint) {
    const Segment segment(Type::Double, 0.6);
    ASSERT_TRUE(segment.Is<Computer::ItemDouble>());
    const Sample middle{0.45, 0.5};
    for (double v : {0.0, 0.2, 0.5, 0.9}) {
        // Each half is the fourth-order shape over half the width and height;
        // the second half with the opposite curvature.
        const double first = middle.y - kD / 2 + kD / 2 * PositiveFourthOrder(0.6, v);
        const double second = middle.y + kD / 2 * (1 - PositiveFourthOrder(0.6, 1 - v));
        EXPECT_NEAR(segment.At(v / 2), first, 1e-12) << v;
        EXPECT_NEAR(segment.At(0.5 + v / 2), second, 1e-12) << v;
    }
}

TEST(EnvelopeItems, StairsCountFollowsTheSquaredCurvature) {
    // 64 * 0.25^2 = 4 stairs; the first at P.y, the last one step below Q.y.
    const Segment four(Type::Stairs, 0.25);
    ASSERT_TRUE(four.Is<Computer::ItemStairs>());
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(four.At((k + 0.5) / 4), kP.y + k * kD / 4) << k;

    // 64 * 0.18^2 = 2.07, rounded to 2.
    const Segment two(Type::Stairs, 0.18);
    std::set<double> levels;
    for (int k = 0; k < 1000; ++k) levels.insert(two.At(k / 1000.0));
    EXPECT_EQ(levels.size(), 2u);

    // 64 * 0.1^2 = 0.64 rounds to 1: a single stair is just the start level.
    const Segment one(Type::Stairs, 0.1);
    EXPECT_TRUE(one.Is<Computer::ItemConstant>());
    EXPECT_EQ(one.At(0.9), kP.y);
}

TEST(EnvelopeItems, PulsesStartHighForPositiveCurvature) {
    const Segment high(Type::Pulses, 0.25);
    const Segment low(Type::Pulses, -0.25);
    // n = 4: eight half periods of an eighth of the segment each.
    for (int half = 0; half < 8; ++half) {
        const double u = (half + 0.5) / 8;
        EXPECT_EQ(high.At(u), half % 2 == 0 ? kQ.y : kP.y) << half;
        EXPECT_EQ(low.At(u), half % 2 == 0 ? kP.y : kQ.y) << half;
    }
}

TEST(EnvelopeItems, SawRisesNTimesOrFallsForNegativeCurvature) {
    const Segment rising(Type::Saw, 0.25);
    const Segment falling(Type::Saw, -0.25);
    for (double u : {0.05, 0.3, 0.49, 0.8}) {
        const double tooth = 4 * u - std::floor(4 * u);
        EXPECT_NEAR(rising.At(u), kP.y + kD * tooth, 1e-12) << u;
        EXPECT_NEAR(falling.At(u), kQ.y - kD * tooth, 1e-12) << u;
    }
}

TEST(EnvelopeItems, TrianglesPeakAtOddSevenths) {
    // n = 4 gives 2n - 1 = 7 slopes: up at odd sevenths, down at even ones.
    const Segment segment(Type::Triangles, 0.25);
    for (int k = 0; k <= 7; ++k) EXPECT_NEAR(segment.At(k / 7.0 - (k == 7 ? 1e-12 : 0)), k % 2 ? kQ.y : kP.y, 1e-9) << k;
    EXPECT_NEAR(segment.At(0.5 / 7), (kP.y + kQ.y) / 2, 1e-12);
}

TEST(EnvelopeItems, SinesRunHalfAWavePerCount) {
    // n = 1 (64 * 0.01 rounds to 1) is half a wave from P.y to Q.y; n = 2 is one and a half.
    const Segment half(Type::Sines, 0.1);
    const Segment threeHalves(Type::Sines, -0.18);
    for (double u : kPositions) {
        EXPECT_NEAR(half.At(u), kP.y + kD * (1 - std::cos(std::numbers::pi * u)) / 2, 1e-12) << u;
        EXPECT_NEAR(threeHalves.At(u), kP.y + kD * (1 + std::cos(3 * std::numbers::pi * u)) / 2, 1e-12) << u;
    }
}

}  // namespace
