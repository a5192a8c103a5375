#include "foundation/xml/KXMLItem.h"
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

void StorePoint(const Point& point, KXMLItem& item) {
    item.SetDoubleAttribute("x", point.x);
    item.SetDoubleAttribute("y", point.y);
    item.SetIntegerAttribute("Flags", point.flags & kKeptFlags, kNewPoint.flags);
    item.SetDoubleAttribute("cx", point.curvatureX, kNewPoint.curvatureX);
    item.SetDoubleAttribute("c", point.curvature, kNewPoint.curvature);
    item.SetDoubleAttribute("SmoothX1", point.smoothingLeft, kNewPoint.smoothingLeft);
    item.SetDoubleAttribute("SmoothX2", point.smoothingRight, kNewPoint.smoothingRight);
    item.SetAttribute("Type", TypeName(point.type), TypeName(kNewPoint.type));
    item.SetIntegerAttribute("SmoothingType", std::int32_t(point.smoothingType), std::int32_t(kNewPoint.smoothingType));
}

Point LoadPoint(const KXMLItem& item) {
    Point point;
    point.x = item.DoubleAttribute("x", kNewPoint.x);
    point.y = item.DoubleAttribute("y", kNewPoint.y);
    point.flags = std::uint8_t(item.IntegerAttribute("Flags", kNewPoint.flags)) & kKeptFlags;
    // Older envelopes marked fixed points with an attribute of their own.
    if (item.BoolAttribute("fixed", false)) point.flags |= KEnvelope::kFixed;
    point.curvatureX = item.DoubleAttribute("cx", kNewPoint.curvatureX);
    point.curvature = item.DoubleAttribute("c", kNewPoint.curvature);
    point.smoothingLeft = item.DoubleAttribute("SmoothX1", kNewPoint.smoothingLeft);
    point.smoothingRight = item.DoubleAttribute("SmoothX2", kNewPoint.smoothingRight);
    // An unknown name keeps the new point's type.
    KEnvelopeSegmentTypeInfo::FromName(item.Attribute("Type", TypeName(kNewPoint.type)), point.type);
    point.smoothingType = item.IntegerAttribute("SmoothingType", 0) == 0 ? KEnvelope::SmoothingType::Tangents
                                                                          : KEnvelope::SmoothingType::Cubic;
    return point;
}

}  // namespace

void KEnvelope::Store(KXMLItem& item) const {
    const KEnvelope defaults;
    item.SetDoubleAttribute("MinX", m_x.minimum, defaults.m_x.minimum);
    item.SetDoubleAttribute("MaxX", m_x.maximum, defaults.m_x.maximum);
    item.SetDoubleAttribute("MinY", m_y.minimum, defaults.m_y.minimum);
    item.SetDoubleAttribute("MaxY", m_y.maximum, defaults.m_y.maximum);
    item.SetIntegerAttribute("DrawingMode", m_editor.drawingMode, defaults.m_editor.drawingMode);
    item.SetIntegerAttribute("SnapToGridX", m_editor.snapToGridX, defaults.m_editor.snapToGridX);
    item.SetIntegerAttribute("SnapToGridY", m_editor.snapToGridY, defaults.m_editor.snapToGridY);
    item.SetAttribute("OverrideUnitsX", m_editor.overrideUnitsX, defaults.m_editor.overrideUnitsX);
    item.SetAttribute("OverrideUnitsY", m_editor.overrideUnitsY, defaults.m_editor.overrideUnitsY);
    while (item.FindSubItem("Point")) item.RemoveSubItem("Point");
    for (const Point& point : m_points) StorePoint(point, item.AddSubItem("Point"));
}

void KEnvelope::Load(const KXMLItem& item) {
    const KEnvelope defaults;
    m_x = {item.DoubleAttribute("MinX", defaults.m_x.minimum), item.DoubleAttribute("MaxX", defaults.m_x.maximum)};
    m_y = {item.DoubleAttribute("MinY", defaults.m_y.minimum), item.DoubleAttribute("MaxY", defaults.m_y.maximum)};
    m_editor.drawingMode = std::int32_t(item.IntegerAttribute("DrawingMode", defaults.m_editor.drawingMode));
    m_editor.snapToGridX = std::int32_t(item.IntegerAttribute("SnapToGridX", defaults.m_editor.snapToGridX));
    m_editor.snapToGridY = std::int32_t(item.IntegerAttribute("SnapToGridY", defaults.m_editor.snapToGridY));
    m_editor.overrideUnitsX = item.Attribute("OverrideUnitsX", defaults.m_editor.overrideUnitsX);
    m_editor.overrideUnitsY = item.Attribute("OverrideUnitsY", defaults.m_editor.overrideUnitsY);
    std::vector<Point> points;
    KXMLItem::Iterator stored(item, "Point");
    while (const KXMLItem* point = stored.Next()) points.push_back(LoadPoint(*point));
    SetPoints(std::move(points));
}
