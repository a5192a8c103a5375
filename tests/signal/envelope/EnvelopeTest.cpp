// The point list of an envelope.
#include <gtest/gtest.h>

#include "signal/envelope/EnvelopeTesting.h"

namespace {

using namespace envelope_testing;

TEST(Envelope, NewEnvelopeRunsBetweenTwoInitialPoints) {
    const KEnvelope envelope({-2, 2}, {-1, 1}, 0.5, -0.5);
    ASSERT_EQ(envelope.PointCount(), 2);
    // New points carry 0x04 and 0x08; the starting pair also 0x01.
    EXPECT_EQ(envelope.PointAt(0), (Point{.x = -2, .y = 0.5, .flags = 0x0D}));
    EXPECT_EQ(envelope.PointAt(1), (Point{.x = 2, .y = -0.5, .flags = 0x0D}));
    EXPECT_EQ(envelope.PointAt(1).type, Type::FourthOrder);

    Computer computer;
    computer.Build(KEnvelope());
    EXPECT_NEAR(computer.Evaluate(0.3), 0.3, 1e-15);
}

TEST(Envelope, PointsStayInXOrder) {
    KEnvelope envelope;
    EXPECT_EQ(envelope.AddPoint({.x = 0.5, .y = 1, .flags = KEnvelope::kMarked | KEnvelope::kFixed}), 1);
    EXPECT_EQ(envelope.PointAt(1).flags, KEnvelope::kFixed);
    // Equal x goes behind the existing point.
    EXPECT_EQ(envelope.AddPoint({.x = 0.5, .y = 2}), 2);
    EXPECT_EQ(envelope.PointAt(2).y, 2);

    EXPECT_EQ(envelope.SetPoint(1, {.x = 0.9, .y = 3, .flags = KEnvelope::kMarked}), 2);
    EXPECT_EQ(envelope.PointAt(2).flags, KEnvelope::kMarked);
    EXPECT_EQ(envelope.PointAt(1).y, 2);

    envelope.RemovePoint(7);
    envelope.RemovePoint(-1);
    envelope.RemovePoint(0);
    EXPECT_EQ(envelope.PointCount(), 3);
    EXPECT_EQ(envelope.PointAt(0).x, 0.5);

    envelope.SetPoints({{.x = 0.7}, {.x = 0.1}, {.x = 0.4}});
    EXPECT_EQ(envelope.PointAt(0).x, 0.1);
    EXPECT_EQ(envelope.PointAt(2).x, 0.7);
}

}  // namespace
