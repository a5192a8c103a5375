#include "plugin/pipeline/KUpsampler.h"

#include <bit>

#include "plugin/pipeline/KFilterDesign.h"

namespace {

constexpr int kHighQualityDelay = 1536;  // high-rate samples, both directions together
constexpr int kLongFilterDelay = 6144;
constexpr double kHighQualityAttenuation = 120;

struct HalfbandDesign {
    int coefficients;
    double transition;
};
constexpr HalfbandDesign kHalfbandStages[] = {{8, 0.04}, {4, 0.22}, {3, 0.36}};

int StageCount(int factor) noexcept { return std::countr_zero(unsigned(factor)); }

}  // namespace

int KUpsampler::Latency(const Setup& setup) noexcept {
    if (setup.factor < 2 || !setup.highQuality) return 0;
    return (setup.longFilter ? kLongFilterDelay : kHighQualityDelay) / setup.factor;
}

void KUpsampler::Configure(const Setup& setup, int maxBlockSize) {
    m_setup = setup;
    m_maxBlockSize = maxBlockSize;
    const std::size_t highRateLength = std::size_t(maxBlockSize) * std::size_t(setup.factor);
    m_input.Reserve(highRateLength);
    m_output.Reserve(highRateLength);
    m_scratch.Reserve(highRateLength);
    m_stageCount = 0;
    if (setup.factor < 2) return;
    if (setup.highQuality) {
        const int taps = (setup.longFilter ? kLongFilterDelay : kHighQualityDelay) + 1;
        const double transition = KFilterDesign::KaiserTransitionWidth(taps, kHighQualityAttenuation);
        // The stop band starts at the host's Nyquist frequency.
        m_fir.Configure(setup.factor, taps, 0.5 / setup.factor - transition / 2, kHighQualityAttenuation);
    } else {
        m_stageCount = StageCount(setup.factor);
        for (int i = 0; i < m_stageCount; ++i)
            m_stages[std::size_t(i)].Configure(kHalfbandStages[i].coefficients, kHalfbandStages[i].transition);
    }
}

void KUpsampler::Reset() noexcept {
    m_fir.Reset();
    for (KHalfbandFilter& stage : m_stages) stage.Reset();
}

void KUpsampler::Upsample(const float* input, int sampleCount) noexcept {
    if (m_setup.highQuality) {
        m_fir.Upsample(input, Input(), sampleCount);
        return;
    }
    // Alternate between the scratch buffer and Input() so that the last
    // stage writes Input().
    const float* source = input;
    int length = sampleCount;
    for (int i = 0; i < m_stageCount; ++i) {
        float* target = (m_stageCount - 1 - i) % 2 == 0 ? Input() : m_scratch.Data();
        m_stages[std::size_t(i)].Upsample(source, target, length);
        source = target;
        length *= 2;
    }
}

void KUpsampler::Downsample(float* output, int sampleCount) noexcept {
    if (m_setup.highQuality) {
        m_fir.Downsample(Output(), output, sampleCount);
        return;
    }
    // Every stage but the last halves Output() in place.
    int length = sampleCount << m_stageCount;
    for (int i = m_stageCount - 1; i >= 0; --i) {
        length /= 2;
        m_stages[std::size_t(i)].Downsample(Output(), i == 0 ? output : Output(), length);
    }
}
