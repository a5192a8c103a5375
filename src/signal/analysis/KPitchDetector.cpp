#include "signal/analysis/KPitchDetector.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kMaxWindow = 8192;

double Difference(const float* x, int window, int lag) noexcept {
    double sum = 0;
    for (int j = 0; j < window; ++j) {
        const double d = double(x[j]) - x[j + lag];
        sum += d * d;
    }
    return sum;
}

// Vertex of the parabola through (-1, a), (0, b), (1, c), as an offset from 0.
double ParabolaOffset(double a, double b, double c) noexcept {
    const double curvature = a - 2 * b + c;
    return curvature > 0 ? std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5) : 0.0;
}

// Steps 1 and 2: d'(lag) for lag 0..maxLag + 1.
std::vector<double> NormalisedDifference(const float* x, int window, int maxLag) {
    std::vector<double> normalised(std::size_t(maxLag) + 2, 1.0);
    double running = 0;
    for (int lag = 1; lag <= maxLag + 1; ++lag) {
        const double d = Difference(x, window, lag);
        running += d;
        normalised[lag] = running > 0 ? d * lag / running : 1.0;
    }
    return normalised;
}

// Step 3: the chosen lag, or 0 for an unvoiced signal.
int ChooseLag(const std::vector<double>& d, int minLag, int maxLag) noexcept {
    for (int lag = minLag; lag <= maxLag; ++lag) {
        if (d[lag] < KPitchDetector::kThreshold) {
            while (lag < maxLag && d[lag + 1] < d[lag]) ++lag;
            return lag;
        }
    }
    const auto best = std::min_element(d.begin() + minLag, d.begin() + maxLag + 1);
    return *best < KPitchDetector::kUnvoiced ? int(best - d.begin()) : 0;
}

// Compares the signal with itself many periods later, where a small error
// of the period has grown into a measurable one.
double RefinePeriod(const float* x, int count, double period) {
    const int multiple = int(std::min((count / 2) / period, 2 * period));
    if (multiple < 2) return period;
    const int centre = int(std::lround(multiple * period));
    const int radius = std::clamp(int(std::ceil(multiple * 0.05)) + 1, 2, std::max(2, int(period / 4)));
    const int window = count - (centre + radius + 1) - 1;
    if (window < count / 4) return period;

    int bestLag = centre;
    double best = Difference(x, window, centre);
    for (int lag = centre - radius; lag <= centre + radius; ++lag) {
        const double d = Difference(x, window, lag);
        if (d < best) best = d, bestLag = lag;
    }
    const double offset = ParabolaOffset(Difference(x, window, bestLag - 1), best, Difference(x, window, bestLag + 1));
    return (bestLag + offset) / multiple;
}

}  // namespace

double KPitchDetector::DetectPeriod(const float* frames, int count, double sampleRate) {
    if (!frames || count < 16 || !(sampleRate > 0)) return 0;
    const int maxLag = std::min(int(sampleRate / kMinimumPitch), count / 2);
    const int minLag = std::max(2, int(sampleRate / kMaximumPitch));
    if (maxLag <= minLag + 1) return 0;
    const int window = std::min(count - maxLag - 2, kMaxWindow);

    const std::vector<double> normalised = NormalisedDifference(frames, window, maxLag);
    const int lag = ChooseLag(normalised, minLag, maxLag);
    if (lag == 0) return 0;
    const double period = lag + ParabolaOffset(normalised[lag - 1], normalised[lag], normalised[lag + 1]);
    return RefinePeriod(frames, count, period);
}

double KPitchDetector::Detect(const float* frames, int count, double sampleRate) {
    const double period = DetectPeriod(frames, count, sampleRate);
    return period > 0 ? sampleRate / period : 0.0;
}
