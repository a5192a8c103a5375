#include "plugin/pipeline/KPolyphaseFir.h"

#include "plugin/pipeline/KFilterDesign.h"

namespace {

// Four partial sums let the additions overlap.
float Dot(const float* a, const float* b, int count) noexcept {
    float s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
    }
    for (; i < count; ++i) s0 += a[i] * b[i];
    return (s0 + s1) + (s2 + s3);
}

}  // namespace

void KPolyphaseFir::Configure(int factor, int taps, double cutoff, double attenuationDb) {
    m_factor = factor;
    m_taps = taps;
    m_phaseTaps = (taps + factor - 1) / factor;
    const std::vector<double> kernel = KFilterDesign::KaiserLowPass(taps, cutoff, attenuationDb);
    m_kernel.assign(kernel.begin(), kernel.end());

    // Phase p produces high-rate sample n * factor + p from the low-rate
    // samples n, n - 1, ...; zero stuffing loses a factor in gain.
    m_phases.assign(std::size_t(factor * m_phaseTaps), 0.0f);
    for (int p = 0; p < factor; ++p)
        for (int t = 0; t < m_phaseTaps; ++t) {
            const int index = p + (m_phaseTaps - 1 - t) * factor;
            if (index < taps) m_phases[std::size_t(p * m_phaseTaps + t)] = float(kernel[std::size_t(index)] * factor);
        }
    m_upHistory.Reserve(std::size_t(2 * m_phaseTaps));
    m_downHistory.Reserve(std::size_t(2 * taps));
    Reset();
}

void KPolyphaseFir::Reset() noexcept {
    m_upHistory.Clear();
    m_downHistory.Clear();
    m_upPosition = m_downPosition = m_downPhase = 0;
}

void KPolyphaseFir::Upsample(const float* input, float* output, int sampleCount) noexcept {
    float* history = m_upHistory.Data();
    const int length = m_phaseTaps;
    for (int n = 0; n < sampleCount; ++n) {
        history[m_upPosition] = history[m_upPosition + length] = input[n];
        const float* window = history + m_upPosition + 1;  // oldest to newest
        for (int p = 0; p < m_factor; ++p)
            *output++ = Dot(m_phases.data() + p * length, window, length);
        m_upPosition = m_upPosition + 1 == length ? 0 : m_upPosition + 1;
    }
}

void KPolyphaseFir::Downsample(const float* input, float* output, int sampleCount) noexcept {
    float* history = m_downHistory.Data();
    const int length = m_taps;
    for (int i = 0; i < sampleCount * m_factor; ++i) {
        history[m_downPosition] = history[m_downPosition + length] = input[i];
        // The first sample of every group of `factor` is the one kept, so
        // that the round trip delay is a whole number of low-rate samples.
        if (m_downPhase == 0) *output++ = Dot(m_kernel.data(), history + m_downPosition + 1, length);
        m_downPhase = m_downPhase + 1 == m_factor ? 0 : m_downPhase + 1;
        m_downPosition = m_downPosition + 1 == length ? 0 : m_downPosition + 1;
    }
}
