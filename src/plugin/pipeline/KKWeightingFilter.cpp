#include "plugin/pipeline/KKWeightingFilter.h"

#include <cmath>
#include <numbers>

namespace {

// Analogue parameters that reproduce the standard's 48 kHz coefficients
// through the bilinear transform.
constexpr double kShelfFrequency = 1681.974450955533;
constexpr double kShelfGainDb = 3.999843853973347;
constexpr double kShelfQ = 0.7071752369554196;
constexpr double kHighPassFrequency = 38.13547087602444;
constexpr double kHighPassQ = 0.5003270373238773;

}  // namespace

void KKWeightingFilter::Initialize(double sampleRate) noexcept {
    double k = std::tan(std::numbers::pi * kShelfFrequency / sampleRate);
    const double vh = std::pow(10.0, kShelfGainDb / 20);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1 + k / kShelfQ + k * k;
    m_shelf = Biquad{(vh + vb * k / kShelfQ + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / kShelfQ + k * k) / a0,
                     2 * (k * k - 1) / a0, (1 - k / kShelfQ + k * k) / a0};

    k = std::tan(std::numbers::pi * kHighPassFrequency / sampleRate);
    a0 = 1 + k / kHighPassQ + k * k;
    m_highPass = Biquad{1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / kHighPassQ + k * k) / a0};
}

void KKWeightingFilter::Reset() noexcept {
    m_shelf.z1 = m_shelf.z2 = 0;
    m_highPass.z1 = m_highPass.z2 = 0;
}
