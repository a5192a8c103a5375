// The stored form of an envelope.
#include <gtest/gtest.h>

#include "foundation/xml/StorageTestSupport.h"
#include "signal/envelope/EnvelopeTesting.h"
#include "foundation/xml/KXMLItem.h"

namespace {

using namespace envelope_testing;

KEnvelope Drawn() {
    KEnvelope envelope({-1, 1}, {-2, 0.5});
    envelope.Editor() = {.drawingMode = 2, .snapToGridX = 8, .snapToGridY = 4, .overrideUnitsX = "Hz",
                         .overrideUnitsY = "dB"};
    envelope.SetPoints({
        {.x = -1, .y = 0.25, .flags = KEnvelope::kInitial | KEnvelope::kFixed},
        {.x = -0.125, .y = -1.5, .flags = 0, .curvatureX = -0.75, .curvature = 0.3, .smoothingLeft = 0.2,
         .smoothingRight = 0.9, .type = Type::Bezier, .smoothingType = KEnvelope::SmoothingType::Cubic},
        {.x = 0.4, .y = 0.1, .curvature = -0.35, .type = Type::Stairs},
        {.x = 1, .y = -2, .type = Type::Sines},
    });
    return envelope;
}

TEST(EnvelopeStorage, StoreThenLoadGivesTheSameEnvelope) {
    KEnvelope original = Drawn();
    KXMLItem item("Envelope");
    StoreInto(original, item);
    KEnvelope loaded;
    LoadFrom(loaded, item);
    EXPECT_EQ(loaded, original);

    // Storing again replaces the points rather than adding to them.
    StoreInto(original, item);
    KEnvelope reloaded;
    LoadFrom(reloaded, item);
    EXPECT_EQ(reloaded, original);

    KEnvelope empty({0, 1}, {-1, 1});
    empty.Clear();
    StoreInto(empty, item);
    LoadFrom(reloaded, item);
    EXPECT_EQ(reloaded, empty);
}

TEST(EnvelopeStorage, WritesTypesByNameAndLeavesDefaultsOut) {
    KEnvelope envelope;
    envelope.AddPoint({.x = 0.5, .y = 0.75, .curvature = 0.5, .type = Type::Triangles});
    KXMLItem item("Envelope");
    StoreInto(envelope, item);
    EXPECT_FALSE(item.HasAttribute("MinX"));
    EXPECT_FALSE(item.HasAttribute("DrawingMode"));
    ASSERT_EQ(item.SubItemCount(), 3);
    KXMLItem& middle = item.SubItemAt(1);
    EXPECT_EQ(middle.Name(), KString("Point"));
    EXPECT_EQ(middle.Attribute("Type", ""), KString("Triangles"));
    EXPECT_EQ(middle.Attribute("c", ""), KString("0.5"));
    EXPECT_EQ(middle.Attribute("y", ""), KString("0.75"));
    // A new point's flags, curvature X and smoothing are the defaults.
    for (const char* absent : {"Flags", "cx", "SmoothX1", "SmoothX2", "SmoothingType"})
        EXPECT_FALSE(middle.HasAttribute(KString::FromBytes(absent))) << absent;
    // The starting points carry 0x01 on top of the new-point flags 0x0C.
    EXPECT_EQ(item.SubItemAt(0).Attribute("Flags", ""), KString("13"));
}

TEST(EnvelopeStorage, ReadsTheOlderFixedAttributeAndSurvivesBadNames) {
    KXMLItem item("Envelope");
    KXMLItem& first = item.AddSubItem("point");
    first.SetAttribute("x", "0.6");
    first.SetAttribute("fixed", "1");
    first.SetAttribute("type", "sines");
    KXMLItem& second = item.AddSubItem("Point");
    second.SetAttribute("x", "0.2");
    second.SetAttribute("Type", "Spiral");
    second.SetAttribute("Flags", "66");

    KEnvelope envelope;
    LoadFrom(envelope, item);
    ASSERT_EQ(envelope.PointCount(), 2);
    // Sorted by x on loading; the editor's 0x40 never survives.
    EXPECT_EQ(envelope.PointAt(0).x, 0.2);
    EXPECT_EQ(envelope.PointAt(0).type, Type::FourthOrder);
    EXPECT_EQ(envelope.PointAt(0).flags, KEnvelope::kFixed);
    EXPECT_EQ(envelope.PointAt(1).type, Type::Sines);
    EXPECT_EQ(envelope.PointAt(1).flags, KEnvelope::kFixed | KEnvelope::kSharedSmoothing | KEnvelope::kSymmetricCorner);
}

}  // namespace
