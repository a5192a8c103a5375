#pragma once
#include <algorithm>
#include <cmath>
#include <numbers>

#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/envelope/KEnvelopePolynomial.h"

// One piece of a computed envelope: it covers x below its end and at or above
// the previous item's end.
class KEnvelopeComputer::Item {
public:
    explicit Item(double end) noexcept : m_end(end) {}
    virtual ~Item() = default;
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    double End() const noexcept { return m_end; }
    void SetEnd(double end) noexcept { m_end = end; }

    // out[k] = value at x0 + k dx for begin <= k < end. Positions are always
    // counted from the block start, so a block holds exactly the values
    // Evaluate gives at its positions, whichever items it spans.
    virtual void Fill(float* out, double x0, double dx, int begin, int end) const = 0;
    virtual void Fill64(double* out, double x0, double dx, int begin, int end) const = 0;
    virtual double Evaluate(double x) const = 0;

    // One-sided difference quotients of the item's own values, which is what
    // the builder joins neighbouring pieces with.
    double LeftSlope(double x) const { return (Evaluate(x) - Evaluate(x - 1e-10)) * 1e10; }
    double RightSlope(double x) const { return (Evaluate(x + 1e-10) - Evaluate(x)) * 1e10; }

    // True when the item is 0 over its whole span; Build finds the zero tail
    // with it.
    virtual bool IsZero() const noexcept { return false; }

private:
    double m_end;
};

// Fill, Fill64 and Evaluate for an item whose value is the inline
// Derived::Value(x), so the block loops run without a virtual call per sample.
template <class Derived>
class KEnvelopeComputer::ItemT : public Item {
public:
    using Item::Item;

    void Fill(float* out, double x0, double dx, int begin, int end) const override {
        FillSamples(out, x0, dx, begin, end);
    }
    void Fill64(double* out, double x0, double dx, int begin, int end) const override {
        FillSamples(out, x0, dx, begin, end);
    }
    double Evaluate(double x) const override { return Self().Value(x); }

private:
    const Derived& Self() const noexcept { return static_cast<const Derived&>(*this); }

    template <typename Sample>
    void FillSamples(Sample* out, double x0, double dx, int begin, int end) const {
        const Derived& self = Self();
        for (int k = begin; k < end; ++k) out[k] = Sample(self.Value(x0 + k * dx));
    }
};

class KEnvelopeComputer::ItemConstant final : public Item {
public:
    ItemConstant(double end, double value) noexcept : Item(end), m_value(value) {}

    void Fill(float* out, double, double, int begin, int end) const override {
        std::fill(out + begin, out + end, float(m_value));
    }
    void Fill64(double* out, double, double, int begin, int end) const override {
        std::fill(out + begin, out + end, m_value);
    }
    double Evaluate(double) const override { return m_value; }
    bool IsZero() const noexcept override { return m_value == 0; }

private:
    double m_value;
};

// Polynomial items share the evaluation; they differ in their coefficients.
template <class Derived, int Degree>
class KEnvelopePolynomialItemT : public KEnvelopeComputer::ItemT<Derived> {
public:
    explicit KEnvelopePolynomialItemT(double end) noexcept : KEnvelopeComputer::ItemT<Derived>(end) {}

    double Value(double x) const noexcept { return m_polynomial(x); }
    const KEnvelopePolynomialT<Degree>& Polynomial() const noexcept { return m_polynomial; }

protected:
    KEnvelopePolynomialT<Degree> m_polynomial;
};

// The chord from p to q.
class KEnvelopeComputer::ItemLinear final : public KEnvelopePolynomialItemT<ItemLinear, 1> {
public:
    ItemLinear(Vertex p, Vertex q) noexcept;
};

// p.y + D ((1 - c) u + c u^2).
class KEnvelopeComputer::ItemQuadratic : public KEnvelopePolynomialItemT<ItemQuadratic, 2> {
public:
    ItemQuadratic(Vertex p, Vertex q, double curvature) noexcept;
};

// p.y + D p(u) with p(u) = c u^4 + (1 - c) u for c > 0 and its point
// reflection about the segment centre for c <= 0.
class KEnvelopeComputer::ItemFourthOrder : public KEnvelopePolynomialItemT<ItemFourthOrder, 4> {
public:
    ItemFourthOrder(Vertex p, Vertex q, double curvature) noexcept;

    static KEnvelopePolynomialT<4> Shape(Vertex p, Vertex q, double curvature) noexcept;
};

// The cubic Hermite curve with the given end values and slopes.
class KEnvelopeComputer::ItemCubic : public KEnvelopePolynomialItemT<ItemCubic, 3> {
public:
    ItemCubic(Vertex p, double slopeP, Vertex q, double slopeQ) noexcept;
};

// p.y + D (1 - max(0, 1 - u^e)^(1/e)), e = exp(3c).
class KEnvelopeComputer::ItemExponencial final : public ItemT<ItemExponencial> {
public:
    ItemExponencial(Vertex p, Vertex q, double curvature) noexcept;

    double Value(double x) const noexcept {
        const double u = std::max(0.0, (x - m_x0) / m_width);
        return m_y0 + m_height * (1 - std::pow(std::max(0.0, 1 - std::pow(u, m_exponent)), m_inverse));
    }

private:
    double m_x0, m_width, m_y0, m_height, m_exponent, m_inverse;
};

// Quadratic Bezier curve from p through the control point c to q, read as a
// function of x.
class KEnvelopeComputer::ItemBezier : public ItemT<ItemBezier> {
public:
    ItemBezier(Vertex p, Vertex control, Vertex q) noexcept;

    double Value(double x) const noexcept { return m_y(Parameter(x - m_x0)); }

protected:
    // Solves x(t) = x for t. The rationalised root x / (b + sqrt(b^2 + a x))
    // stays accurate where x(t) is nearly linear (a close to 0), and is 0 at the
    // start even when the control point sits on it (b = 0).
    double Parameter(double offset) const noexcept {
        const double denominator = m_b + std::sqrt(std::max(0.0, m_b * m_b + m_a * offset));
        return denominator > 0 ? offset / denominator : 0.0;
    }

    double m_x0;
    double m_a;  // p.x - 2 c.x + q.x
    double m_b;  // c.x - p.x
    KEnvelopePolynomialT<2> m_y;
};

// An S-curve: the type-1 shape with curvature c up to the midpoint of p and
// q, then with curvature -c.
class KEnvelopeComputer::ItemDouble final : public ItemT<ItemDouble> {
public:
    ItemDouble(Vertex p, Vertex q, double curvature) noexcept;

    double Value(double x) const noexcept { return x < m_split ? m_first(x) : m_second(x); }

private:
    double m_split;
    KEnvelopePolynomialT<4> m_first;
    KEnvelopePolynomialT<4> m_second;
};

// Number of stairs, pulses, teeth, triangles or waves for a curvature.
int KEnvelopeRepeatCount(double curvature) noexcept;

// Evenly spaced steps from x0, numbered from 0 up to count.
struct KEnvelopeSteps {
    double x0;
    double width;
    double count;

    int Index(double x) const noexcept { return int(std::clamp((x - x0) / width, 0.0, count)); }
};

// Items with one level per step. Blocks are filled run by run: the run end
// is estimated from the step width and settled by the step index of the
// positions themselves, so the values are exactly those of Value.
template <class Derived>
class KEnvelopeSteppedItemT : public KEnvelopeComputer::ItemT<Derived> {
public:
    KEnvelopeSteppedItemT(double end, KEnvelopeSteps steps) noexcept
        : KEnvelopeComputer::ItemT<Derived>(end), m_steps(steps) {}

    double Value(double x) const noexcept { return Self().Level(m_steps.Index(x)); }

    void Fill(float* out, double x0, double dx, int begin, int end) const override {
        FillRuns(out, x0, dx, begin, end);
    }
    void Fill64(double* out, double x0, double dx, int begin, int end) const override {
        FillRuns(out, x0, dx, begin, end);
    }

private:
    const Derived& Self() const noexcept { return static_cast<const Derived&>(*this); }

    template <typename Sample>
    void FillRuns(Sample* out, double x0, double dx, int begin, int end) const {
        for (int k = begin; k < end;) {
            const int step = m_steps.Index(x0 + k * dx);
            const int runEnd = RunEnd(step, x0, dx, k, end);
            std::fill(out + k, out + runEnd, Sample(Self().Level(step)));
            k = runEnd;
        }
    }

    // The first position after k in another step (or end). Positions move one
    // way, so the step index changes monotonically along the block.
    int RunEnd(int step, double x0, double dx, int k, int end) const {
        const double estimate = std::ceil((m_steps.x0 + (step + 1) * m_steps.width - x0) / dx);
        int next = !(estimate > k + 1) ? k + 1 : estimate >= end ? end : int(estimate);
        while (next > k + 1 && m_steps.Index(x0 + (next - 1) * dx) != step) --next;
        while (next < end && m_steps.Index(x0 + next * dx) == step) ++next;
        return next;
    }

    KEnvelopeSteps m_steps;
};

// n steps of height D / n, the first at p.y.
class KEnvelopeComputer::ItemStairs final : public KEnvelopeSteppedItemT<ItemStairs> {
public:
    ItemStairs(Vertex p, Vertex q, double curvature) noexcept;

    double Level(int step) const noexcept { return m_y0 + step * m_stepHeight; }

private:
    double m_y0, m_stepHeight;
};

// n pulses: 2n half-periods alternating between two levels.
class KEnvelopeComputer::ItemPulses final : public KEnvelopeSteppedItemT<ItemPulses> {
public:
    ItemPulses(Vertex p, Vertex q, double curvature) noexcept;

    double Level(int half) const noexcept { return half % 2 == 0 ? m_first : m_second; }

private:
    double m_first, m_second;
};

// Shared by the repeating shapes that run from a low to a high level (swapped
// by a negative curvature) n times across the segment.
struct KEnvelopeRepeatingShape {
    KEnvelopeRepeatingShape(KEnvelopeComputer::Vertex p, KEnvelopeComputer::Vertex q, double curvature) noexcept;

    double Position(double x) const noexcept { return (x - x0) / width; }

    double x0, width, low, high;
    int count;
};

// lo + (hi - lo) fmod(u n, 1).
class KEnvelopeComputer::ItemSaw final : public ItemT<ItemSaw> {
public:
    ItemSaw(Vertex p, Vertex q, double curvature) noexcept : ItemT(q.x), m_shape(p, q, curvature) {}

    double Value(double x) const noexcept {
        return m_shape.low + (m_shape.high - m_shape.low) * std::fmod(m_shape.Position(x) * m_shape.count, 1.0);
    }

private:
    KEnvelopeRepeatingShape m_shape;
};

// lo + (hi - lo)(1 - |fmod(u (2n - 1), 2) - 1|): rises n times and falls n - 1 times.
class KEnvelopeComputer::ItemTriangles final : public ItemT<ItemTriangles> {
public:
    ItemTriangles(Vertex p, Vertex q, double curvature) noexcept
        : ItemT(q.x), m_shape(p, q, curvature), m_slopes(2.0 * m_shape.count - 1) {}

    double Value(double x) const noexcept {
        const double phase = std::fmod(m_shape.Position(x) * m_slopes, 2.0);
        return m_shape.low + (m_shape.high - m_shape.low) * (1 - std::abs(phase - 1));
    }

private:
    KEnvelopeRepeatingShape m_shape;
    double m_slopes;
};

// n - 1/2 cosine waves from lo to hi.
class KEnvelopeComputer::ItemSines final : public ItemT<ItemSines> {
public:
    ItemSines(Vertex p, Vertex q, double curvature) noexcept;

    double Value(double x) const noexcept {
        return m_middle + m_amplitude * std::sin(m_shape.Position(x) * m_angle - std::numbers::pi / 2);
    }

private:
    KEnvelopeRepeatingShape m_shape;
    double m_amplitude, m_middle, m_angle;
};
