#include "plugin/pipeline/KFilterDesign.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace KFilterDesign {
namespace {

constexpr double kPi = std::numbers::pi;

double Power(double x, int n) noexcept {
    double result = 1;
    while (n-- > 0) result *= x;
    return result;
}

// Elliptic modulus k and nome q of a half-band design (series of the
// Jacobi theta functions, converging fast for the moduli in use).
void TransitionParameters(double transition, double& k, double& q) noexcept {
    k = std::tan((1 - transition * 2) * kPi / 4);
    k *= k;
    const double root = std::pow(1 - k * k, 0.25);
    const double e = 0.5 * (1 - root) / (1 + root);
    const double e4 = e * e * e * e;
    q = e * (1 + e4 * (2 + e4 * (15 + 150 * e4)));
}

double ThetaNumerator(double q, int order, int c) noexcept {
    double sum = 0, term = 0;
    int sign = 1;
    for (int i = 0; i == 0 || std::fabs(term) > 1e-100; ++i, sign = -sign) {
        term = Power(q, i * (i + 1)) * std::sin((i * 2 + 1) * c * kPi / order) * sign;
        sum += term;
    }
    return sum;
}

double ThetaDenominator(double q, int order, int c) noexcept {
    double sum = 0, term = 0;
    int sign = -1;
    for (int i = 1; i == 1 || std::fabs(term) > 1e-100; ++i, sign = -sign) {
        term = Power(q, i * i) * std::cos(i * 2 * c * kPi / order) * sign;
        sum += term;
    }
    return sum;
}

}  // namespace

double BesselI0(double x) noexcept {
    // Power series; the terms fall below the sum's precision well before
    // the arguments that Kaiser windows use (below 20) need more.
    double sum = 1, term = 1;
    const double quarter = x * x / 4;
    for (int k = 1; k < 200 && term > sum * 1e-17; ++k) {
        term *= quarter / (double(k) * k);
        sum += term;
    }
    return sum;
}

double KaiserBeta(double attenuationDb) noexcept {
    if (attenuationDb > 50) return 0.1102 * (attenuationDb - 8.7);
    if (attenuationDb >= 21) return 0.5842 * std::pow(attenuationDb - 21, 0.4) + 0.07886 * (attenuationDb - 21);
    return 0;
}

double KaiserTransitionWidth(int taps, double attenuationDb) noexcept {
    return (attenuationDb - 7.95) / (14.36 * (taps - 1));
}

std::vector<double> KaiserLowPass(int taps, double cutoff, double attenuationDb) {
    std::vector<double> kernel(static_cast<std::size_t>(taps));
    const double beta = KaiserBeta(attenuationDb);
    const double centre = (taps - 1) / 2.0;
    const double norm = BesselI0(beta);
    double sum = 0;
    for (int i = 0; i < taps; ++i) {
        const double t = i - centre;
        const double sinc = t == 0 ? 2 * cutoff : std::sin(2 * kPi * cutoff * t) / (kPi * t);
        const double r = t / centre;
        const double window = BesselI0(beta * std::sqrt(std::max(0.0, 1 - r * r))) / norm;
        kernel[std::size_t(i)] = sinc * window;
        sum += kernel[std::size_t(i)];
    }
    for (double& h : kernel) h /= sum;
    return kernel;
}

std::vector<double> HalfbandAllpassCoefficients(int count, double transition) {
    double k = 0, q = 0;
    TransitionParameters(transition, k, q);
    const int order = count * 2 + 1;
    std::vector<double> coefficients(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double w = ThetaNumerator(q, order, i + 1) * std::pow(q, 0.25) / (ThetaDenominator(q, order, i + 1) + 0.5);
        const double w2 = w * w;
        const double x = std::sqrt((1 - w2 * k) * (1 - w2 / k)) / (1 + w2);
        coefficients[std::size_t(i)] = (1 - x) / (1 + x);
    }
    return coefficients;
}

}  // namespace KFilterDesign
