#include "signal/envelope/KEnvelope.h"

#include <algorithm>

namespace {

bool ComesBefore(const KEnvelope::Point& a, const KEnvelope::Point& b) noexcept { return a.x < b.x; }

}  // namespace

KEnvelope::KEnvelope(Range x, Range y, double y0, double y1) : m_x(x), m_y(y) {
    AddPoint({.x = x.minimum, .y = y0});
    AddPoint({.x = x.maximum, .y = y1});
    for (Point& point : m_points) point.flags |= kInitial;
}

KEnvelope::KEnvelope() : KEnvelope(Range{}, Range{}) {}

int KEnvelope::AddPoint(Point point) {
    point.flags &= std::uint8_t(~kMarked);
    return InsertSorted(point);
}

int KEnvelope::SetPoint(int index, Point point) {
    RemovePoint(index);
    return InsertSorted(point);
}

void KEnvelope::RemovePoint(int index) {
    if (index >= 0 && index < PointCount()) m_points.erase(m_points.begin() + index);
}

int KEnvelope::InsertSorted(const Point& point) {
    const auto place = std::upper_bound(m_points.begin(), m_points.end(), point, ComesBefore);
    const auto inserted = m_points.insert(place, point);
    return int(inserted - m_points.begin());
}

void KEnvelope::SetPoints(std::vector<Point> points) {
    std::stable_sort(points.begin(), points.end(), ComesBefore);
    m_points = std::move(points);
}
