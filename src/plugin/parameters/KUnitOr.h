#pragma once
#include <algorithm>
#include <cmath>

// A normalised setting read from outside (a document, a typed value):
// `value` clamped to 0..1, or `fallback` when it is no number.
inline double KUnitOr(double value, double fallback) noexcept {
    return std::isnan(value) ? fallback : std::clamp(value, 0.0, 1.0);
}
