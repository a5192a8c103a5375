#pragma once
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/threading/ThreadTestSupport.h"

#include "signal/envelope/KEnvelope.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/envelope/KEnvelopeItems.h"

namespace envelope_testing {

using Point = KEnvelope::Point;
using Type = KEnvelopeSegmentType;
using Computer = KEnvelopeComputer;

inline KEnvelope MakeEnvelope(std::vector<Point> points) {
    KEnvelope envelope;
    envelope.SetPoints(std::move(points));
    return envelope;
}

template <class Kind>
bool ItemIs(const Computer& computer, double x) {
    return dynamic_cast<const Kind*>(&computer.ItemAt(computer.ItemIndexAt(x))) != nullptr;
}

// Cubic Hermite curve in the textbook basis-function form.
inline double Hermite(double x0, double y0, double m0, double x1, double y1, double m1, double x) {
    const double w = x1 - x0;
    const double u = (x - x0) / w;
    const double h00 = 2 * u * u * u - 3 * u * u + 1;
    const double h10 = u * u * u - 2 * u * u + u;
    const double h01 = -2 * u * u * u + 3 * u * u;
    const double h11 = u * u * u - u * u;
    return h00 * y0 + h10 * w * m0 + h01 * y1 + h11 * w * m1;
}

struct Sample {
    double x;
    double y;
};

// A point of the quadratic Bezier curve p, c, q at parameter t.
inline Sample Bezier(Sample p, Sample c, Sample q, double t) {
    const double a = (1 - t) * (1 - t);
    const double b = 2 * t * (1 - t);
    const double d = t * t;
    return {a * p.x + b * c.x + d * q.x, a * p.y + b * c.y + d * q.y};
}

// Runs `action` on a thread of its own and answers whether it finished in
// time. The action owns everything it uses: a run that never finishes (the
// fault under test) is left behind, and the test fails instead of hanging.
template <class Action>
bool FinishesInTime(Action action) {
    auto finished = std::make_shared<test_support::Event>();
    std::thread([finished, action = std::move(action)]() mutable {
        action();
        finished->Set();
    }).detach();
    return finished->WaitFor();
}

}  // namespace envelope_testing
