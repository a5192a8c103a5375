// Build rules, smooth segments, corner smoothing and the zero tail.
#include <gtest/gtest.h>

#include "signal/envelope/EnvelopeTesting.h"
#include "foundation/core/KException.h"

namespace {

using namespace envelope_testing;

Point Line(double x, double y) { return {.x = x, .y = y}; }

Point Smooth(double x, double y, Type type) { return {.x = x, .y = y, .type = type}; }

Point Corner(double x, double y, double smoothing, std::uint8_t flags = KEnvelope::kSharedSmoothing | KEnvelope::kSymmetricCorner,
             KEnvelope::SmoothingType type = KEnvelope::SmoothingType::Tangents) {
    return {.x = x, .y = y, .flags = flags, .smoothingLeft = smoothing, .type = Type::FourthOrder, .smoothingType = type};
}

struct Span {
    double start;
    double end;
};

Span ItemSpanAt(const Computer& computer, double x) {
    const int index = computer.ItemIndexAt(x);
    return {computer.ItemAt(index - 1).End(), computer.ItemAt(index).End()};
}

TEST(EnvelopeComputerBuild, EmptyEnvelopeIsTheMiddleOfItsYRange) {
    KEnvelope envelope({0, 1}, {-1, 3});
    envelope.Clear();
    Computer computer;
    computer.Build(envelope);
    for (double x : {-1e300, 0.0, 0.5, 1e300}) EXPECT_EQ(computer.Evaluate(x), 1.0);

    envelope.AddPoint(Line(0.3, -0.25));
    computer.Build(envelope);
    EXPECT_EQ(computer.Evaluate(0.9), -0.25);
}

TEST(EnvelopeComputerBuild, HoldsTheEndValuesOutsideThePoints) {
    Computer computer;
    computer.Build(MakeEnvelope({Line(0.2, 0.7), {.x = 0.5, .y = -1, .curvature = 0.8}, Line(0.8, 0.1)}));
    EXPECT_EQ(computer.Evaluate(-1e6), 0.7);
    EXPECT_EQ(computer.Evaluate(0.1999), 0.7);
    EXPECT_EQ(computer.Evaluate(0.8), 0.1);
    EXPECT_EQ(computer.Evaluate(1e300), 0.1);
}

TEST(EnvelopeComputerBuild, FallsBackToConstantsAndLinesForFlatOrStraightSegments) {
    for (Type type : {Type::Quadratic, Type::FourthOrder, Type::Exponencial, Type::Bezier, Type::Double}) {
        Computer computer;
        computer.Build(MakeEnvelope({{.x = 0, .y = 0, .type = type}, Line(1, 2)}));
        EXPECT_TRUE(ItemIs<Computer::ItemLinear>(computer, 0.5)) << int(type);
        EXPECT_NEAR(computer.Evaluate(0.25), 0.5, 1e-15);
        computer.Build(MakeEnvelope({{.x = 0, .y = 2, .curvature = 0.5, .type = type}, Line(1, 2)}));
        EXPECT_TRUE(ItemIs<Computer::ItemConstant>(computer, 0.5)) << int(type);
    }
    // The x curvature alone still bends a "Free 1" segment.
    Computer computer;
    computer.Build(MakeEnvelope({{.x = 0, .y = 0, .curvatureX = 0.3, .type = Type::Bezier}, Line(1, 2)}));
    EXPECT_TRUE(ItemIs<Computer::ItemBezier>(computer, 0.5));
}

TEST(EnvelopeComputerBuild, CoincidentPointsMakeAJumpWithoutDividingByZero) {
    Computer computer;
    computer.Build(MakeEnvelope({Line(0, 0), {.x = 0.5, .y = 0, .curvature = 1, .type = Type::Sines}, Corner(0.5 + 1e-9, 1, 1),
                                 {.x = 1, .y = 1, .type = Type::Smooth2}, Line(1, 1)}));
    EXPECT_EQ(computer.Evaluate(0.25), 0);
    EXPECT_EQ(computer.Evaluate(0.5 + 5e-10), 0);
    EXPECT_EQ(computer.Evaluate(0.75), 1);
    EXPECT_EQ(computer.Evaluate(1.5), 1);
}

TEST(EnvelopeComputerBuild, UnknownTypeRaisesAndKeepsThePreviousCurve) {
    Computer computer;
    computer.Build(MakeEnvelope({Line(0, 0), Line(1, 1)}));
    const KEnvelope broken = MakeEnvelope({{.x = 0, .y = 0, .type = static_cast<Type>(12)}, Line(1, 1)});
    try {
        computer.Build(broken);
        FAIL() << "no exception";
    } catch (const KException& e) {
        EXPECT_EQ(e.Message(), KString("Invalid control point type."));
    }
    EXPECT_NEAR(computer.Evaluate(0.25), 0.25, 1e-15);
}

TEST(EnvelopeComputerSmooth, Smooth1TakesTheSlopesOfTheNeighbouringItems) {
    Computer computer;
    computer.Build(MakeEnvelope({Line(0, 0), Smooth(1, 1, Type::Smooth1), Line(2, 0), Line(3, 2)}));
    ASSERT_TRUE(ItemIs<Computer::ItemCubic>(computer, 1.5));
    for (double x : {1.2, 1.5, 1.9}) EXPECT_NEAR(computer.Evaluate(x), Hermite(1, 1, 1, 2, 0, 2, x), 1e-5) << x;
}

TEST(EnvelopeComputerSmooth, Smooth1ChainIsFlatWhereItMeetsAnotherSmoothSegment) {
    // The first segment sees a place holder after it (slope 0); the second
    // sees the finished first one, which ends flat.
    Computer computer;
    computer.Build(MakeEnvelope({Smooth(0, 0, Type::Smooth1), Smooth(1, 1, Type::Smooth1), Line(2, 0)}));
    for (double x : {0.3, 0.5, 1.25, 1.8}) {
        const double u = x - std::floor(x);
        const double step = 3 * u * u - 2 * u * u * u;
        EXPECT_NEAR(computer.Evaluate(x), x < 1 ? step : 1 - step, 1e-5) << x;
    }
}

TEST(EnvelopeComputerSmooth, Smooth2AveragesTheChordsExceptAtEndsAndMinima) {
    Computer rising;
    rising.Build(MakeEnvelope({Smooth(0, 0, Type::Smooth2), Smooth(1, 1, Type::Smooth2), Line(2, 3)}));
    // Point 1 gets the mean of the chords 1 and 2; the end points get 0.
    for (double x : {0.5, 0.8}) EXPECT_NEAR(rising.Evaluate(x), Hermite(0, 0, 0, 1, 1, 1.5, x), 1e-12);
    for (double x : {1.25, 1.5}) EXPECT_NEAR(rising.Evaluate(x), Hermite(1, 1, 1.5, 2, 3, 0, x), 1e-12);

    Computer valley;
    valley.Build(MakeEnvelope({Smooth(0, 1, Type::Smooth2), Smooth(1, 0, Type::Smooth2), Line(3, 1)}));
    EXPECT_NEAR(valley.Evaluate(0.5), Hermite(0, 1, 0, 1, 0, 0, 0.5), 1e-12);

    // Only minima are flattened: a lopsided peak keeps the mean slope (1 - 0.5) / 2.
    Computer peak;
    peak.Build(MakeEnvelope({Smooth(0, 0, Type::Smooth2), Smooth(1, 1, Type::Smooth2), Line(3, 0)}));
    EXPECT_NEAR(peak.Evaluate(0.5), Hermite(0, 0, 0, 1, 1, 0.25, 0.5), 1e-12);
}

TEST(EnvelopeComputerCorner, TangentCornerIsTheBezierThroughTheTangentsMeeting) {
    // Slopes 1 and -1 meet above the point: Bezier (0.5, 0.5), (1, 1), (1.5, 0.5),
    // whose x runs linearly in t, so y = 0.5 + t - t^2 at x = 0.5 + t.
    Computer computer;
    computer.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1), Line(2, 0)}));
    ASSERT_TRUE(ItemIs<Computer::ItemBezier>(computer, 1));
    EXPECT_NEAR(ItemSpanAt(computer, 1).start, 0.5, 1e-15);
    EXPECT_NEAR(ItemSpanAt(computer, 1).end, 1.5, 1e-15);
    for (double t : {0.2, 0.5, 0.9}) EXPECT_NEAR(computer.Evaluate(0.5 + t), 0.5 + t - t * t, 1e-6) << t;
    EXPECT_NEAR(computer.Evaluate(0.4), 0.4, 1e-15);
    EXPECT_NEAR(computer.Evaluate(1.6), 0.4, 1e-15);
}

TEST(EnvelopeComputerCorner, MidpointNeighbourhoodReachesHalfWayOnEachSide) {
    // Corner from (0.5, 0.5) slope 1 to (2, 0.5) slope -0.5; the tangents meet at (1, 1).
    Computer tangents;
    tangents.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1, KEnvelope::kSharedSmoothing), Line(3, 0)}));
    EXPECT_NEAR(ItemSpanAt(tangents, 1).end, 2, 1e-15);
    for (double t : {0.1, 0.4, 0.75}) {
        const Sample s = Bezier({0.5, 0.5}, {1, 1}, {2, 0.5}, t);
        EXPECT_NEAR(tangents.Evaluate(s.x), s.y, 1e-6) << t;
    }

    Computer cubic;
    cubic.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1, KEnvelope::kSharedSmoothing, KEnvelope::SmoothingType::Cubic), Line(3, 0)}));
    ASSERT_TRUE(ItemIs<Computer::ItemCubic>(cubic, 1));
    for (double x : {0.7, 1.0, 1.6}) EXPECT_NEAR(cubic.Evaluate(x), Hermite(0.5, 0.5, 1, 2, 0.5, -0.5, x), 1e-6) << x;
}

TEST(EnvelopeComputerCorner, SymmetricNeighbourhoodTakesTheNearerHalfDistance) {
    Computer computer;
    computer.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1), Line(3, 0)}));
    EXPECT_NEAR(ItemSpanAt(computer, 1).start, 0.5, 1e-15);
    EXPECT_NEAR(ItemSpanAt(computer, 1).end, 1.5, 1e-15);
    EXPECT_NEAR(computer.Evaluate(1.6), 0.7, 1e-15);

    // Without the shared flag the right side has its own smoothing.
    Point point = Corner(1, 1, 0.5, KEnvelope::kSymmetricCorner);
    point.smoothingRight = 1;
    computer.Build(MakeEnvelope({Line(0, 0), point, Line(2, 0)}));
    EXPECT_NEAR(ItemSpanAt(computer, 1).start, 0.75, 1e-15);
    EXPECT_NEAR(ItemSpanAt(computer, 1).end, 1.5, 1e-15);
}

TEST(EnvelopeComputerCorner, EndPointsMirrorTheirOnlyNeighbourhood) {
    // First point: constant 0 meets slope 1 under Bezier (-0.5, 0), (0, 0), (0.5, 0.5).
    Computer first;
    first.Build(MakeEnvelope({Corner(0, 0, 1, KEnvelope::kSharedSmoothing), Line(1, 1)}));
    EXPECT_NEAR(ItemSpanAt(first, 0).start, -0.5, 1e-15);
    EXPECT_NEAR(first.Evaluate(0), 0.125, 1e-6);
    // Last point: Bezier (0.5, 0.5), (1, 1), (1.5, 1), y = 0.5 + t - t^2 / 2.
    Computer last;
    last.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1, KEnvelope::kSharedSmoothing)}));
    EXPECT_NEAR(ItemSpanAt(last, 1).end, 1.5, 1e-15);
    EXPECT_NEAR(last.Evaluate(1), 0.875, 1e-6);
}

TEST(EnvelopeComputerCorner, DegenerateCorners) {
    // Parallel tangents never meet: the cubic corner keeps the straight line.
    Computer straight;
    straight.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1), Line(2, 2)}));
    ASSERT_TRUE(ItemIs<Computer::ItemCubic>(straight, 1));
    for (double x : {0.6, 1.0, 1.3}) EXPECT_NEAR(straight.Evaluate(x), x, 1e-6);
    // Nothing to round on a flat line or beside a vertical jump.
    Computer flat;
    flat.Build(MakeEnvelope({Line(0, 0), Corner(1, 0, 1), Line(2, 0)}));
    EXPECT_EQ(flat.ItemCount(), 4);
    Computer jump;
    jump.Build(MakeEnvelope({Line(0, 0), Corner(1, 1, 1), Corner(1, 2, 1), Line(2, 2)}));
    EXPECT_EQ(jump.ItemCount(), 5);
}

TEST(EnvelopeComputerBuild, ZeroTailStartsWhereTheCurveLastLeavesZero) {
    Computer computer;
    computer.Build(MakeEnvelope({Line(0, 1), Line(0.5, 0), Line(1, 0)}));
    EXPECT_EQ(computer.ZeroTailStart(), 0.5);
    // A symmetric corner of full width at 0.5 reaches to 0.75.
    computer.Build(MakeEnvelope({Line(0, 1), Corner(0.5, 0, 1), Line(1, 0)}));
    EXPECT_NEAR(computer.ZeroTailStart(), 0.75, 1e-15);
    computer.Build(MakeEnvelope({Line(0, 0), Line(1, 0.5)}));
    EXPECT_EQ(computer.ZeroTailStart(), Computer::kFar);
    computer.Build(MakeEnvelope({Line(0, 0), Line(1, 0)}));
    EXPECT_EQ(computer.ZeroTailStart(), -Computer::kFar);
}

}  // namespace
