#pragma once
#include <cstdint>
#include <vector>

#include "foundation/text/KString.h"
#include "signal/envelope/KEnvelopeSegmentType.h"

class KStorageContext;

// A user-drawn curve y(x) given by control points sorted by x. Each point
// shapes the segment to the next point and may round off its own corner.
// KEnvelopeComputer turns an envelope into something that can be evaluated.
class KEnvelope {
public:
    enum PointFlag : std::uint8_t {
        kInitial = 0x01,          // one of the two points a new envelope starts with
        kFixed = 0x02,            // the editor must not move or delete the point
        kSharedSmoothing = 0x04,  // both corner sides use the left smoothing value
        kSymmetricCorner = 0x08,  // the corner spans the same distance on both sides
        kMarked = 0x40,           // editor scratch state, never kept on new points
    };

    enum class SmoothingType : std::int32_t {
        Tangents = 0,  // quadratic Bezier through the tangents' intersection
        Cubic = 1,     // cubic Hermite corner
    };

    struct Point {
        double x = 0;
        double y = 0;
        std::uint8_t flags = kSharedSmoothing | kSymmetricCorner;
        double curvatureX = 0;      // -1..1, read by the "Free 1" type only
        double curvature = 0;       // -1..1, or the repeat count of the repeating types
        double smoothingLeft = 0;   // 0..1 of the way towards the previous point
        double smoothingRight = 0;  // 0..1 of the way towards the next point
        KEnvelopeSegmentType type = KEnvelopeSegmentType::FourthOrder;
        SmoothingType smoothingType = SmoothingType::Tangents;

        bool operator==(const Point&) const = default;
    };

    struct Range {
        double minimum = 0;
        double maximum = 1;

        bool operator==(const Range&) const = default;
    };

    // Stored with the envelope for its editor; the envelope itself does not
    // read them.
    struct EditorSettings {
        std::int32_t drawingMode = 0;
        std::int32_t snapToGridX = 0;  // grid divisions, 0 for no snapping
        std::int32_t snapToGridY = 0;
        KString overrideUnitsX;        // empty: the editor's own units
        KString overrideUnitsY;

        bool operator==(const EditorSettings&) const = default;
    };

    // A new envelope runs straight from (x minimum, y0) to (x maximum, y1).
    KEnvelope(Range x, Range y, double y0, double y1);
    // The rising diagonal of the ranges; by default from (0, 0) to (1, 1).
    KEnvelope(Range x, Range y) : KEnvelope(x, y, y.minimum, y.maximum) {}
    KEnvelope();

    const std::vector<Point>& Points() const noexcept { return m_points; }
    int PointCount() const noexcept { return int(m_points.size()); }
    const Point& PointAt(int index) const { return m_points[std::size_t(index)]; }

    // Inserts behind any points with the same x and returns the new index.
    int AddPoint(Point point);
    // Replaces the point (flags as given) and moves it to its place in x
    // order; returns that place.
    int SetPoint(int index, Point point);
    void RemovePoint(int index);
    void SetPoints(std::vector<Point> points);
    void Clear() noexcept { m_points.clear(); }

    Range XRange() const noexcept { return m_x; }
    Range YRange() const noexcept { return m_y; }
    void SetXRange(Range x) noexcept { m_x = x; }
    void SetYRange(Range y) noexcept { m_y = y; }

    const EditorSettings& Editor() const noexcept { return m_editor; }
    EditorSettings& Editor() noexcept { return m_editor; }

    // The stored form: ranges and editor settings as attributes, one "Point"
    // sub-item per point, both ways. Storing replaces any points the item
    // held; loading replaces the points through SetPoints.
    void Store(KStorageContext& context);

    bool operator==(const KEnvelope&) const = default;

private:
    int InsertSorted(const Point& point);

    Range m_x;
    Range m_y;
    EditorSettings m_editor;
    std::vector<Point> m_points;
};
