#include "signal/generator/KSignalGeneratorShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "foundation/core/Random.h"

namespace {

using BasicTable = KSignalGeneratorShapes::BasicTable;
using StepTable = KSignalGeneratorShapes::StepTable;

constexpr int kLength = KSignalGeneratorShapes::kBasicLength;
constexpr int kQuarter = kLength / 4;
constexpr int kHalf = kLength / 2;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Sine(double cycles) { return std::sin(kTwoPi * cycles); }

// s(k) of the quarter-wave shapes: the sine over the first quarter period.
double QuarterSine(int k) { return Sine(double(k) / kLength); }

// Mirrors a quarter wave q(0..2048) into a full symmetric period.
template <class Quarter>
void FillQuarterWave(BasicTable& t, Quarter q) {
    t[0] = t[kHalf] = float(q(0));
    for (int k = 1; k <= kQuarter; ++k) {
        const float value = float(q(k));
        t[k] = t[kHalf - k] = value;
        t[kHalf + k] = t[kLength - k] = -value;
    }
}

template <class Function>
void FillEach(BasicTable& t, Function value) {
    for (int j = 0; j < kLength; ++j) t[j] = float(value(double(j)));
}

double Harmonics(double j) {
    return 0.5 * Sine(j / kLength) + 0.3 * Sine(2 * j / kLength) + 0.1 * Sine(4 * j / kLength);
}

void FillDisharmonics(BasicTable& t) {
    FillEach(t, [](double j) {
        return 0.3 * Sine(j / kLength) + 0.2 * Sine(1.1 * j / kLength) + 0.2 * Sine(1.2 * j / kLength) +
               0.2 * Sine(1.3 * j / kLength) + 0.1 * Sine(1.4 * j / kLength);
    });
    // The partials do not fit the period; fading both ends hides the seam.
    for (int k = 0; k < 1024; ++k) {
        const double fade = k / 1023.0;
        t[k] = float(t[k] * fade);
        t[kLength - 1 - k] = float(t[kLength - 1 - k] * fade);
    }
}

void FillRectangle(BasicTable& t) {
    std::fill(t.begin(), t.begin() + kHalf, 1.0f);
    std::fill(t.begin() + kHalf, t.end(), -1.0f);
    for (int k = 0; k < 16; ++k) {
        const double edge = k / 15.0;
        t[k] = t[kHalf - 1 - k] = float(edge);
        t[kHalf + k] = t[kLength - 1 - k] = float(-edge);
    }
}

void FillNoise(BasicTable& t) {
    std::uint32_t state = 0;
    FillEach(t, [&state](double) { return KRandom::Advance(state) * 2.0 / 32767.0 - 1.0; });
}

// A fixed hash of the index: looks random but never changes.
void FillMess(BasicTable& t) {
    for (std::uint32_t j = 0; j < std::uint32_t(kLength); ++j) {
        const std::uint32_t u = (j * 0x4246859Au) ^ 0xCCDD1122u;
        t[j] = float((u % 1000000u) * 2e-6 - 1.0);
    }
}

template <class Function>
void FillStep(StepTable& t, Function value) {
    for (int k = 0; k < KSignalGeneratorShapes::kStepLength; ++k) t[k] = float(value(k / 1023.0));
}

void FillReversed(StepTable& t, const StepTable& partner) { std::reverse_copy(partner.begin(), partner.end(), t.begin()); }

constexpr double kPi = std::numbers::pi;

double Wobble(double x, int n, double exponent) {
    return std::pow(std::fmod(n * x, 1.0), exponent) * (0.8 + 0.2 * x);
}

}  // namespace

const KSignalGeneratorShapes& KSignalGeneratorShapes::Instance() {
    static const KSignalGeneratorShapes* shapes = new KSignalGeneratorShapes();  // lives for the process
    return *shapes;
}

KSignalGeneratorShapes::KSignalGeneratorShapes() {
    auto& b = m_basic;
    FillQuarterWave(b[0], [](int k) { return std::pow(k / 2048.0, 4); });
    FillQuarterWave(b[1], [](int k) { return k / 2048.0; });
    FillQuarterWave(b[2], [](int k) { return std::pow(QuarterSine(k), 8); });
    FillQuarterWave(b[3], [](int k) { return std::pow(QuarterSine(k), 4); });
    FillQuarterWave(b[4], [](int k) { return std::pow(QuarterSine(k), 2); });
    FillQuarterWave(b[5], [](int k) { return QuarterSine(k); });
    FillEach(b[6], Harmonics);
    FillEach(b[7], [](double j) { return Harmonics(j) + 0.05 * Sine(8 * j / kLength) + 0.02 * Sine(16 * j / kLength); });
    FillDisharmonics(b[8]);
    FillQuarterWave(b[9], [](int k) { return std::sqrt(QuarterSine(k)); });
    FillQuarterWave(b[10], [](int k) { return std::pow(QuarterSine(k), 0.2); });
    FillRectangle(b[11]);
    FillEach(b[12], [](double j) { return 1.0 - j / 8192.0; });
    FillEach(b[13], [](double j) { return 1.0 - j / 4096.0; });
    FillNoise(b[14]);
    FillMess(b[15]);

    auto& s = m_step;
    FillStep(s[0], [](double) { return 1.0; });
    FillStep(s[1], [](double x) { return x; });
    FillStep(s[3], [](double x) { return x * x; });
    FillStep(s[5], [](double x) { return std::pow(x, 4); });
    FillStep(s[7], [](double x) { return std::sqrt(x); });
    FillStep(s[9], [](double x) { return std::pow(x, 0.25); });
    FillStep(s[11], [](double x) { return 0.5 + 0.5 * std::sin(kPi * x - kPi / 2); });
    FillStep(s[13], [](double x) { return std::pow(0.5 + 0.5 * std::cos(kPi * x - kPi / 2), 8); });
    for (int k = 0; k < kStepLength; ++k) s[15][k] = k < 512 ? 0.0f : 1.0f;
    for (int up = 1; up <= 15; up += 2) FillReversed(s[up + 1], s[up]);
    FillStep(s[17], [](double x) { return 1.0 - std::abs(2 * x - 1); });
    FillStep(s[18], [](double x) { return std::abs(2 * x - 1); });
    FillStep(s[19], [](double x) { return 0.5 + 0.5 * std::sin(2 * kPi * x - kPi / 2); });
    for (int k = 0; k < kStepLength; ++k) s[20][k] = 1.0f - s[19][k];
    FillStep(s[21], [](double x) { return std::pow(x, 1.6); });
    FillStep(s[25], [](double x) { return std::pow(x, 0.625); });
    for (int n = 2; n <= 4; ++n) {
        FillStep(s[20 + n], [n](double x) { return Wobble(x, n, 1.6); });
        FillStep(s[24 + n], [n](double x) { return Wobble(x, n, 0.625); });
    }
    for (int k = 0; k < 8; ++k) FillReversed(s[29 + k], s[21 + k]);
}

KString KSignalGeneratorShapes::BasicName(int index) {
    static const char* const names[kBasicCount] = {
        "Exponencial", "Triangle",         "Sine power 8", "Sine power 4", "Sine square", "Sine",
        "Harmonics",   "More harmonics",   "Disharmonics", "Sine square root", "Sine 4-root", "Rectangle",
        "Saw",         "Full saw",         "Noise",        "Mess"};
    return KString::FromBytes(names[std::clamp(index, 0, kBasicCount - 1)]);
}

KString KSignalGeneratorShapes::StepName(int index) {
    static const char* const names[kStepCount] = {
        "Default",          "Linear up",        "Linear down",       "Sqr up",            "Sqr down",
        "4th up",           "4th down",         "SqrRoot up",        "SqrRoot down",      "1/4th up",
        "1/4th down",       "Sine up",          "Sine down",         "Step left smooth",  "Step right smooth",
        "Step left",        "Step right",       "Saw",               "Saw down",          "Sine saw",
        "Sine saw down",    "Wobble 1",         "Wobble 2",          "Wobble 3",          "Wobble 4",
        "Wobble 1",         "Wobble 2",         "Wobble 3",          "Wobble 4",          "Wobble 1 mirror",
        "Wobble 2 mirror",  "Wobble 3 mirror",  "Wobble 4 mirror",   "Wobble 1 mirror",   "Wobble 2 mirror",
        "Wobble 3 mirror",  "Wobble 4 mirror"};
    return KString::FromBytes(names[std::clamp(index, 0, kStepCount - 1)]);
}
