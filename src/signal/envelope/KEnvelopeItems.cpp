#include "signal/envelope/KEnvelopeItems.h"

#include <numbers>

using Computer = KEnvelopeComputer;

Computer::ItemLinear::ItemLinear(Vertex p, Vertex q) noexcept : KEnvelopePolynomialItemT(q.x) {
    m_polynomial = {p.x, {p.y, (q.y - p.y) / (q.x - p.x)}};
}

Computer::ItemQuadratic::ItemQuadratic(Vertex p, Vertex q, double c) noexcept : KEnvelopePolynomialItemT(q.x) {
    const double width = q.x - p.x;
    const double height = q.y - p.y;
    m_polynomial = {p.x, {p.y, height * (1 - c) / width, height * c / (width * width)}};
}

Computer::ItemFourthOrder::ItemFourthOrder(Vertex p, Vertex q, double c) noexcept
    : KEnvelopePolynomialItemT(q.x) {
    m_polynomial = Shape(p, q, c);
}

KEnvelopePolynomialT<4> Computer::ItemFourthOrder::Shape(Vertex p, Vertex q, double c) noexcept {
    const double w = q.x - p.x;
    const double d = q.y - p.y;
    const double w2 = w * w;
    if (c > 0) return {p.x, {p.y, d * (1 - c) / w, 0, 0, d * c / (w2 * w2)}};
    // c u^4 - 4c u^3 + 6c u^2 + (1 - 3c) u: the c > 0 shape turned half round.
    return {p.x, {p.y, d * (1 - 3 * c) / w, 6 * c * d / w2, -4 * c * d / (w2 * w), c * d / (w2 * w2)}};
}

Computer::ItemCubic::ItemCubic(Vertex p, double slopeP, Vertex q, double slopeQ) noexcept
    : KEnvelopePolynomialItemT(q.x) {
    const double w = q.x - p.x;
    const double chord = (q.y - p.y) / w;
    m_polynomial = {p.x, {p.y, slopeP, (3 * chord - 2 * slopeP - slopeQ) / w, (slopeP + slopeQ - 2 * chord) / (w * w)}};
}

Computer::ItemExponencial::ItemExponencial(Vertex p, Vertex q, double c) noexcept
    : ItemT(q.x),
      m_x0(p.x),
      m_width(q.x - p.x),
      m_y0(p.y),
      m_height(q.y - p.y),
      m_exponent(std::exp(3 * c)),
      m_inverse(1 / m_exponent) {}

Computer::ItemBezier::ItemBezier(Vertex p, Vertex control, Vertex q) noexcept
    : ItemT(q.x), m_x0(p.x), m_a(p.x - 2 * control.x + q.x), m_b(control.x - p.x) {
    m_y = {0, {p.y, 2 * (control.y - p.y), p.y - 2 * control.y + q.y}};
}

Computer::ItemDouble::ItemDouble(Vertex p, Vertex q, double c) noexcept : ItemT(q.x) {
    const Vertex middle{(p.x + q.x) / 2, (p.y + q.y) / 2};
    m_split = middle.x;
    m_first = ItemFourthOrder::Shape(p, middle, c);
    m_second = ItemFourthOrder::Shape(middle, q, -c);
}

int KEnvelopeRepeatCount(double curvature) noexcept {
    return std::max(1, int(std::floor(64 * curvature * curvature + 0.5)));
}

namespace {

KEnvelopeSteps StepsAcross(Computer::Vertex p, Computer::Vertex q, int count) noexcept {
    return {p.x, (q.x - p.x) / count, double(count)};
}

}  // namespace

Computer::ItemStairs::ItemStairs(Vertex p, Vertex q, double c) noexcept
    : KEnvelopeSteppedItemT(q.x, StepsAcross(p, q, KEnvelopeRepeatCount(c))),
      m_y0(p.y),
      m_stepHeight((q.y - p.y) / KEnvelopeRepeatCount(c)) {}

// A positive curvature starts at q.y.
Computer::ItemPulses::ItemPulses(Vertex p, Vertex q, double c) noexcept
    : KEnvelopeSteppedItemT(q.x, StepsAcross(p, q, 2 * KEnvelopeRepeatCount(c))),
      m_first(c > 1e-20 ? q.y : p.y),
      m_second(c > 1e-20 ? p.y : q.y) {}

KEnvelopeRepeatingShape::KEnvelopeRepeatingShape(Computer::Vertex p, Computer::Vertex q, double c) noexcept
    : x0(p.x), width(q.x - p.x), low(p.y), high(q.y), count(KEnvelopeRepeatCount(c)) {
    if (c < -1e-50) std::swap(low, high);
}

Computer::ItemSines::ItemSines(Vertex p, Vertex q, double c) noexcept
    : ItemT(q.x),
      m_shape(p, q, c),
      m_amplitude((m_shape.high - m_shape.low) / 2),
      m_middle(m_shape.low + m_amplitude),
      m_angle(2 * std::numbers::pi * m_shape.count - std::numbers::pi) {}
