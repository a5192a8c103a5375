#pragma once
#include <array>

// A polynomial in the offset from its origin, evaluated by Horner's rule.
// Expanding around the segment start rather than around x = 0 keeps full
// precision wherever the segment lies on the x axis.
template <int Degree>
struct KEnvelopePolynomialT {
    double origin = 0;
    std::array<double, Degree + 1> coefficients{};  // constant term first

    double operator()(double x) const noexcept {
        const double t = x - origin;
        double value = coefficients[Degree];
        for (int i = Degree - 1; i >= 0; --i) value = value * t + coefficients[i];
        return value;
    }
};
