#include "signal/generator/KSignalGeneratorHarmonics.h"

#include <algorithm>
#include <cmath>

namespace KSignalGeneratorHarmonics {
namespace {

// Consonance of the twelve semitone intervals, from the unison up.
constexpr double kIntervalWeights[12] = {1.0, 0.1, 0.6, 0.3, 0.3, 0.5, 0.15, 0.8, 0.15, 0.4, 0.45, 0.2};

constexpr double kActive = 1e-05;

double RoundHalfUp(double x) { return std::floor(x + 0.5); }

double SlopeFactor(int k, double slope) {
    const double exponent = slope * slope * 10;
    const double position = k / double(kCount);
    return std::pow(slope < 0 ? 1.0 - position : position, exponent);
}

void Harmonize(float* magnitudes, double amount) {
    for (int h = kCount / 2; h >= 1; --h) {
        double v = magnitudes[h - 1];
        for (int target = 2 * h; target <= kCount && v >= kActive; target *= 2) {
            v *= amount;
            magnitudes[target - 1] = float(magnitudes[target - 1] + v);
        }
    }
}

}  // namespace

double Consonance(int harmonicNumber) noexcept {
    const double semitones = 12 * std::log2(double(harmonicNumber));
    const double nearest = RoundHalfUp(semitones);
    const double detuning = 2 * (semitones - nearest);
    return std::max(0.0, kIntervalWeights[int(nearest) % 12] - detuning * detuning);
}

double HarmonicityWeight(double c, double h) noexcept {
    if (h < -0.5) return std::pow(1 - c, (-h - 0.5) * 8 + 1);
    if (h < 0) return 1 - 2 * -h * c;
    if (h < 0.5) {
        const double base = 1 - 2 * h;
        return base + (1 - base) * c;
    }
    return std::pow(c, (h - 0.5) * 8 + 1);
}

void Generate(const Recipe& recipe, double g, float* magnitudes, float* phases, RandomState& random) noexcept {
    const double a = std::pow(1 - recipe.fullness, 10);
    const double lo = -1000 * a;
    const double hi = 200 * a + 1;
    const auto blend = [g](double fresh, double current) { return g == 1 ? fresh : g * fresh + (1 - g) * current; };

    const double fundamental = random.Unit() * (1 - recipe.fundamentalMinimum) + recipe.fundamentalMinimum;
    magnitudes[0] = float(blend(fundamental, magnitudes[0]));
    phases[0] = float(phases[0] * (1 - g));
    for (int k = 1; k < kCount; ++k) {
        phases[k] = float(random.Unit() * g + phases[k] * (1 - g));
        const double weight = HarmonicityWeight(Consonance(k + 1), recipe.harmonicity);
        const double u = random.Unit();
        const double level = std::clamp((1 - u) * lo + u * hi, 0.0, 1.0);
        magnitudes[k] = float(blend(level * SlopeFactor(k, recipe.slope) * weight, magnitudes[k]));
    }
}

void ScaleToPeak(float* magnitudes) noexcept {
    float peak = 0;
    for (int k = 0; k < kCount; ++k) peak = std::max(peak, std::abs(magnitudes[k]));
    if (peak <= 1e-10f) return;
    for (int k = 0; k < kCount; ++k) magnitudes[k] = float(double(magnitudes[k]) / peak);
}

double Sharpen(double magnitude, double amount) noexcept { return std::pow(magnitude, std::pow(4.0, amount)); }

double Clean(double m, double t) noexcept {
    const double t9 = 0.9 * t;
    if (m < t9) return 0;
    if (m < t) return (m - t9) * t / (t - t9);
    return m;
}

double Compress(double m, double amount) noexcept {
    const double p = 0.5 - amount * 0.499;
    const double q = 1 - p;
    return m >= p ? (m - p) * p / q + q : m * q / p;
}

void PostProcess(const PostProcessing& post, float* magnitudes, RandomState& random) noexcept {
    bool ran = false;
    const auto each = [magnitudes](int from, auto map) {
        for (int k = from; k < kCount; ++k) magnitudes[k] = float(map(double(magnitudes[k])));
    };
    if (std::abs(post.sharpen) >= 1e-50) {
        each(0, [&](double m) { return Sharpen(m, post.sharpen); });
        ran = true;
    }
    if (post.noise > kActive) {
        each(1, [&](double m) { return std::clamp(m + random.Signed() * post.noise, 0.0, 1.0); });
        ran = true;
    }
    if (post.clean > kActive) {
        each(0, [&](double m) { return Clean(m, post.clean); });
        ran = true;
    }
    if (post.compress > kActive) {
        each(0, [&](double m) { return Compress(m, post.compress); });
        ran = true;
    }
    if (post.harmonize > kActive) {
        Harmonize(magnitudes, post.harmonize);
        ran = true;
    }
    if (ran) each(0, [](double m) { return std::clamp(m, 0.0, 1.0); });
}

}  // namespace KSignalGeneratorHarmonics
