#include "plugin/pipeline/KHalfbandFilter.h"

#include <algorithm>
#include <cmath>

#include "plugin/pipeline/KFilterDesign.h"

namespace {

// When the signal falls silent the sections' state decays through the
// whole double range, and its float output would pass through denormal
// numbers on the way. Far below anything audible the state is set to zero.
constexpr double kSilence = 1e-30;

double Settled(double value) noexcept { return std::fabs(value) < kSilence ? 0.0 : value; }

}  // namespace

void KHalfbandFilter::Configure(int coefficientCount, double transition) {
    m_count = std::clamp(coefficientCount, 1, kMaxCoefficients);
    const auto coefficients = KFilterDesign::HalfbandAllpassCoefficients(m_count, transition);
    std::copy(coefficients.begin(), coefficients.end(), m_coefficients.begin());
    Reset();
}

void KHalfbandFilter::Reset() noexcept { m_upEven = m_upOdd = m_downEven = m_downOdd = Chain{}; }

// The sections of one chain use every second coefficient from `first`:
// y[n] = a * (x[n] - y[n-1]) + x[n-1].
double KHalfbandFilter::Run(Chain& chain, int first, double sample) noexcept {
    for (int i = first, s = 0; i < m_count; i += 2, ++s) {
        const double y =
            Settled(m_coefficients[std::size_t(i)] * (sample - chain.y[std::size_t(s)]) + chain.x[std::size_t(s)]);
        chain.x[std::size_t(s)] = sample;
        chain.y[std::size_t(s)] = y;
        sample = y;
    }
    return sample;
}

void KHalfbandFilter::Upsample(const float* input, float* output, int sampleCount) noexcept {
    for (int n = 0; n < sampleCount; ++n) {
        const double x = input[n];
        output[2 * n] = float(Run(m_upEven, 0, x));
        output[2 * n + 1] = float(Run(m_upOdd, 1, x));
    }
}

void KHalfbandFilter::Downsample(const float* input, float* output, int sampleCount) noexcept {
    for (int n = 0; n < sampleCount; ++n) {
        const double even = input[2 * n];
        const double odd = input[2 * n + 1];
        output[n] = float(Settled(0.5 * (Run(m_downEven, 0, odd) + Run(m_downOdd, 1, even))));
    }
}
