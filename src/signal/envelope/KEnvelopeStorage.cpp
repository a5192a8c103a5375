#include "foundation/text/NumberText.h"
#include "foundation/xml/KStorageContext.h"
#include "signal/envelope/KEnvelope.h"

// Attributes at their defaults are left out; loading restores the defaults.
// A point's defaults are those of a new point, so a stored point holds little
// more than its position.

namespace {

using Point = KEnvelope::Point;

const Point kNewPoint{};
constexpr std::uint8_t kKeptFlags = std::uint8_t(~KEnvelope::kMarked);

// A type outside the table is stored as the default type.
KString TypeName(KEnvelopeSegmentType type) {
    const KEnvelopeSegmentTypeInfo* info = KEnvelopeSegmentTypeInfo::Find(type);
    return KString::FromBytes(info ? info->name : KEnvelopeSegmentTypeInfo::Find(kNewPoint.type)->name);
}

void StoreFlags(KStorageContext& context, Point& point) {
    int flags = point.flags & kKeptFlags;
    context.Field("Flags", flags, int(kNewPoint.flags));
    point.flags = std::uint8_t(flags) & kKeptFlags;
    // Older envelopes marked fixed points with an attribute of their own.
    context.Legacy("fixed", [&](const KString& text) {
        if (KNumberText::ParseInteger(text, 10) != 0) point.flags |= KEnvelope::kFixed;
    });
}

void StorePoint(KStorageContext& context, Point& point) {
    context.Field("x", point.x);
    context.Field("y", point.y);
    StoreFlags(context, point);
    context.Field("cx", point.curvatureX, kNewPoint.curvatureX);
    context.Field("c", point.curvature, kNewPoint.curvature);
    context.Field("SmoothX1", point.smoothingLeft, kNewPoint.smoothingLeft);
    context.Field("SmoothX2", point.smoothingRight, kNewPoint.smoothingRight);
    // An unknown name keeps the new point's type.
    KString type = TypeName(point.type);
    context.Field("Type", type, TypeName(kNewPoint.type));
    if (context.Loading() && !KEnvelopeSegmentTypeInfo::FromName(type, point.type)) point.type = kNewPoint.type;
    int smoothing = int(point.smoothingType);
    context.Field("SmoothingType", smoothing, int(kNewPoint.smoothingType));
    point.smoothingType = smoothing == 0 ? KEnvelope::SmoothingType::Tangents : KEnvelope::SmoothingType::Cubic;
}

}  // namespace

void KEnvelope::Store(KStorageContext& context) {
    const KEnvelope defaults;
    context.Field("MinX", m_x.minimum, defaults.m_x.minimum);
    context.Field("MaxX", m_x.maximum, defaults.m_x.maximum);
    context.Field("MinY", m_y.minimum, defaults.m_y.minimum);
    context.Field("MaxY", m_y.maximum, defaults.m_y.maximum);
    context.Field("DrawingMode", m_editor.drawingMode, defaults.m_editor.drawingMode);
    context.Field("SnapToGridX", m_editor.snapToGridX, defaults.m_editor.snapToGridX);
    context.Field("SnapToGridY", m_editor.snapToGridY, defaults.m_editor.snapToGridY);
    context.Field("OverrideUnitsX", m_editor.overrideUnitsX, defaults.m_editor.overrideUnitsX);
    context.Field("OverrideUnitsY", m_editor.overrideUnitsY, defaults.m_editor.overrideUnitsY);
    std::vector<Point> points = m_points;
    context.Repeated("Point", points, StorePoint);
    if (context.Loading()) SetPoints(std::move(points));
}
