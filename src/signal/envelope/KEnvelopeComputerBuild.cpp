#include <algorithm>
#include <cmath>
#include <iterator>

#include "foundation/core/KException.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/envelope/KEnvelopeItems.h"
#include "signal/envelope/KEnvelopeItemsSSE.h"

namespace {

using Computer = KEnvelopeComputer;
using ItemList = Computer::ItemList;
using Item = Computer::Item;
using Vertex = Computer::Vertex;
using Point = KEnvelope::Point;
using Points = std::vector<Point>;
using Type = KEnvelopeSegmentType;
using Fastest = KEnvelopeFastestItems;

// Points closer than this in x make a vertical jump, never a division.
constexpr double kCoincident = 1e-8;
constexpr double kNegligible = 1e-20;
constexpr double kLeastSmoothing = 1e-05;

template <class Kind, typename... Arguments>
std::unique_ptr<Item> Make(Arguments&&... arguments) {
    return std::make_unique<Kind>(std::forward<Arguments>(arguments)...);
}

Vertex At(const Point& point) noexcept { return {point.x, point.y}; }

bool IsCoincident(const Point& a, const Point& b) noexcept { return std::abs(b.x - a.x) <= kCoincident; }

bool HasNoUsedCurvature(const Point& p) noexcept {
    const std::uint8_t usage = KEnvelopeSegmentTypeInfo::Find(p.type)->usage;
    const bool flatX = !(usage & KEnvelopeSegmentTypeInfo::kUsesCurvatureX) || std::abs(p.curvatureX) < kNegligible;
    const bool flat = !(usage & KEnvelopeSegmentTypeInfo::kUsesCurvature) || std::abs(p.curvature) < kNegligible;
    return flatX && flat;
}

// Types 0 to 4: the curve shapes, which degenerate to a constant or a line.
std::unique_ptr<Item> MakeCurve(const Point& p, const Point& q) {
    const double end = q.x;
    if (std::abs(p.y - q.y) < kNegligible) return Make<Computer::ItemConstant>(end, p.y);
    if (HasNoUsedCurvature(p)) return Make<Computer::ItemLinear>(At(p), At(q));
    switch (p.type) {
        case Type::Quadratic:
            return Make<Fastest::Quadratic>(At(p), At(q), p.curvature);
        case Type::FourthOrder:
            return Make<Fastest::FourthOrder>(At(p), At(q), p.curvature);
        case Type::Exponencial:
            return Make<Computer::ItemExponencial>(At(p), At(q), p.curvature);
        case Type::Bezier: {
            const Vertex control{p.x + (q.x - p.x) * (p.curvatureX + 1) / 2, p.y + (q.y - p.y) * (p.curvature + 1) / 2};
            return Make<Fastest::Bezier>(At(p), control, At(q));
        }
        default:
            return Make<Computer::ItemDouble>(At(p), At(q), p.curvature);
    }
}

// The item from p to q; null for the smooth types, whose slopes depend on
// items that may not exist yet.
std::unique_ptr<Item> MakeSegment(const Point& p, const Point& q) {
    if (IsCoincident(p, q)) return Make<Computer::ItemConstant>(q.x, p.y);
    switch (p.type) {
        case Type::Quadratic:
        case Type::FourthOrder:
        case Type::Exponencial:
        case Type::Bezier:
        case Type::Double:
            return MakeCurve(p, q);
        case Type::Smooth1:
        case Type::Smooth2:
            return nullptr;
        case Type::Stairs:
            if (std::floor(64 * p.curvature * p.curvature + 0.5) < 2) return Make<Computer::ItemConstant>(q.x, p.y);
            return Make<Computer::ItemStairs>(At(p), At(q), p.curvature);
        case Type::Pulses:
            return Make<Computer::ItemPulses>(At(p), At(q), p.curvature);
        case Type::Saw:
            return Make<Computer::ItemSaw>(At(p), At(q), p.curvature);
        case Type::Triangles:
            return Make<Computer::ItemTriangles>(At(p), At(q), p.curvature);
        case Type::Sines:
            return Make<Computer::ItemSines>(At(p), At(q), p.curvature);
    }
    throw KException("Invalid control point type.");
}

// "Smooth 2" slope at point v: the mean of the chords to its neighbours, flat
// at the ends and where the point does not rise above its lower neighbour.
double PointSlope(const Points& points, int v) {
    const Point& left = points[std::size_t(std::max(v - 1, 0))];
    const Point& point = points[std::size_t(v)];
    const Point& right = points[std::min(std::size_t(v) + 1, points.size() - 1)];
    if (std::abs(left.x - point.x) < 1e-50 || std::abs(point.x - right.x) < 1e-50 ||
        point.y <= std::min(left.y, right.y) + kNegligible)
        return 0;
    return ((point.y - left.y) / (point.x - left.x) + (right.y - point.y) / (right.x - point.x)) / 2;
}

// Item i + 1 runs from point i to point i + 1; items 0 and N hold the first
// and last values out to the ends of the x axis.
ItemList BuildSegments(const Points& points) {
    ItemList items;
    items.reserve(2 * points.size() + 1);  // room for a corner at every point
    items.push_back(Make<Computer::ItemConstant>(points.front().x, points.front().y));
    for (std::size_t i = 0; i + 1 < points.size(); ++i) items.push_back(MakeSegment(points[i], points[i + 1]));
    items.push_back(Make<Computer::ItemConstant>(Computer::kFar, points.back().y));
    return items;
}

// Left to right, so that a "Smooth 1" segment reads the slope of an already
// shaped smooth segment before it.
void BuildSmoothSegments(const Points& points, ItemList& items) {
    for (int i = 0; i + 1 < int(points.size()); ++i) {
        std::unique_ptr<Item>& segment = items[std::size_t(i) + 1];
        if (segment) continue;
        const Point& p = points[std::size_t(i)];
        const Point& q = points[std::size_t(i) + 1];
        double slopeP = 0;
        double slopeQ = 0;
        if (p.type == Type::Smooth1) {
            slopeP = items[std::size_t(i)]->LeftSlope(p.x);
            const std::unique_ptr<Item>& after = items[std::size_t(i) + 2];
            slopeQ = after ? after->RightSlope(q.x) : 0;
        } else {
            slopeP = PointSlope(points, i);
            slopeQ = PointSlope(points, i + 1);
        }
        segment = Make<Fastest::Cubic>(At(p), slopeP, At(q), slopeQ);
    }
}

bool HasCoincidentNeighbour(const Points& points, std::size_t v) noexcept {
    return (v > 0 && IsCoincident(points[v - 1], points[v])) ||
           (v + 1 < points.size() && IsCoincident(points[v], points[v + 1]));
}

struct Span {
    double left;
    double right;
};

// The x interval a corner may take: up to the midpoints towards the
// neighbours, or the same distance on both sides for a symmetric corner.
Span CornerNeighbourhood(const Points& points, std::size_t v) noexcept {
    const Point& point = points[v];
    const bool first = v == 0;
    const bool last = v + 1 == points.size();
    double toLeft = first ? 0 : (point.x - points[v - 1].x) / 2;
    double toRight = last ? 0 : (points[v + 1].x - point.x) / 2;
    if (first) toLeft = toRight;
    if (last) toRight = toLeft;
    if (point.flags & KEnvelope::kSymmetricCorner) toLeft = toRight = std::min(toLeft, toRight);
    return {point.x - toLeft, point.x + toRight};
}

std::unique_ptr<Item> MakeCorner(Vertex l, double slopeL, Vertex r, double slopeR, KEnvelope::SmoothingType type) {
    if (type == KEnvelope::SmoothingType::Tangents) {
        // Where the two tangents meet, measured from l.x.
        const double meet = std::abs(slopeL - slopeR) < 1e-50 ? Computer::kFar
                                                                : ((l.y - r.y) - (l.x - r.x) * slopeR) / (slopeR - slopeL);
        if (meet >= 1e-10 && meet <= (r.x - l.x) - 1e-10)
            return Make<Fastest::Bezier>(l, Vertex{l.x + meet, l.y + meet * slopeL}, r);
    }
    return Make<Fastest::Cubic>(l, slopeL, r, slopeR);
}

// Smoothing beyond 1 would reach past the neighbourhood into the next
// corner; NaN (from a damaged state) is no smoothing.
double SmoothingShare(double smoothing) noexcept { return std::isnan(smoothing) ? 0.0 : std::clamp(smoothing, 0.0, 1.0); }

// Replaces the sharp corner at point v by a curve that joins the item ending
// at v and the item after it with matching slopes. Corners are made from the
// last point to the first, so items 0 to v are still one per point here.
void SmoothCorner(const Points& points, std::size_t v, ItemList& items) {
    const Point& point = points[v];
    const double smoothingL = SmoothingShare(point.smoothingLeft);
    const double smoothingR =
        point.flags & KEnvelope::kSharedSmoothing ? smoothingL : SmoothingShare(point.smoothingRight);
    if (HasCoincidentNeighbour(points, v) || (smoothingL < kLeastSmoothing && smoothingR < kLeastSmoothing)) return;

    const Span span = CornerNeighbourhood(points, v);
    const double xL = (1 - smoothingL) * point.x + smoothingL * span.left;
    const double xR = (1 - smoothingR) * point.x + smoothingR * span.right;
    Item& before = *items[v];
    const Item& after = *items[v + 1];
    const Vertex l{xL, before.Evaluate(xL)};
    const Vertex r{xR, after.Evaluate(xR)};
    if (std::abs(l.y - point.y) <= 1e-50 && std::abs(r.y - point.y) <= 1e-50) return;

    auto corner = MakeCorner(l, before.LeftSlope(xL), r, after.RightSlope(xR), point.smoothingType);
    before.SetEnd(xL);
    items.insert(items.begin() + std::ptrdiff_t(v) + 1, std::move(corner));
}

// Start of the run of zero items that reaches the end of the x axis.
double FindZeroTailStart(const ItemList& items) noexcept {
    std::size_t first = items.size();
    while (first > 0 && items[first - 1]->IsZero()) --first;
    if (first == items.size()) return Computer::kFar;
    return first == 0 ? -Computer::kFar : items[first - 1]->End();
}

// A point at x NaN (from a damaged state) has no place on the x axis and is
// left out; the others are taken in x order, which the envelope cannot keep
// around such a point.
Points PlacedPoints(const Points& points) {
    Points placed;
    placed.reserve(points.size());
    std::copy_if(points.begin(), points.end(), std::back_inserter(placed), [](const Point& p) { return !std::isnan(p.x); });
    std::stable_sort(placed.begin(), placed.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    return placed;
}

ItemList BuildItems(const KEnvelope& envelope) {
    const Points points = PlacedPoints(envelope.Points());
    if (points.size() < 2) {
        const KEnvelope::Range y = envelope.YRange();
        const double level = points.empty() ? (y.minimum + y.maximum) / 2 : points.front().y;
        ItemList items;
        items.push_back(Make<Computer::ItemConstant>(Computer::kFar, level));
        return items;
    }
    ItemList items = BuildSegments(points);
    BuildSmoothSegments(points, items);
    for (std::size_t v = points.size(); v-- > 0;) SmoothCorner(points, v, items);
    return items;
}

}  // namespace

// Builds aside and swaps, so a failed build leaves the previous curve intact.
void KEnvelopeComputer::Build(const KEnvelope& envelope) {
    m_items = BuildItems(envelope);
    m_current = 0;
    m_rangeX = envelope.XRange();
    m_zeroTailStart = FindZeroTailStart(m_items);
}
