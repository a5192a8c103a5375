#include "KOutputBound.h"

#include <cmath>
#include <cstdio>
#include <limits>

double OutputBound(double inputPeak, const KProcessingShape& shape) noexcept {
    constexpr double kEffectAndSmoother = 2 * 5 + 1;
    constexpr double kFilters = 64;
    constexpr double kMaximumCompensation = 100;
    double bound = inputPeak * kEffectAndSmoother;
    if (shape.upsampling > 1) bound *= kFilters;
    if (shape.gainCompensation) bound *= kMaximumCompensation;
    return bound;
}

namespace {

std::string Text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::optional<std::string> CheckSample(float sample, double bound) {
    if (!std::isfinite(sample)) return std::string(std::isnan(sample) ? "NaN" : "infinite sample");
    if (sample != 0 && std::fabs(sample) < std::numeric_limits<float>::min()) return "denormal sample " + Text(sample);
    if (std::fabs(sample) > bound) return "sample " + Text(sample) + " beyond the bound " + Text(bound);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckBlock(const float* const* outputs, int channels, int frames, double bound) {
    for (int c = 0; c < channels; ++c) {
        for (int i = 0; i < frames; ++i) {
            if (auto fault = CheckSample(outputs[c][i], bound))
                return *fault + " at channel " + std::to_string(c) + ", frame " + std::to_string(i) + " of " +
                       std::to_string(frames);
        }
    }
    return std::nullopt;
}
