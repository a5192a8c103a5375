#include "plugin/pipeline/KLoudnessMeter.h"

#include <algorithm>
#include <cmath>

void KLoudnessMeter::Initialize(double sampleRate, double windowSeconds, int delay) {
    m_length = std::max(1, int(std::lround(windowSeconds * sampleRate)));
    m_window.Reserve(std::size_t(m_length));
    m_window.Clear();
    m_position = 0;
    m_sum = 0;
    m_delay = std::max(delay, 0);
    m_delayLine.Reserve(std::size_t(m_delay) + 1);
    m_delayLine.Clear();
    m_delayMask = m_delayLine.Capacity() - 1;
    m_delayPosition = 0;
    for (KKWeightingFilter& filter : m_weighting) filter.Initialize(sampleRate);
}

void KLoudnessMeter::Measure(float* const* channels, int channelCount, int sampleCount) noexcept {
    channelCount = std::min(channelCount, kMaxChannels);
    if (channelCount <= 0 || m_length == 0) return;
    for (int i = 0; i < sampleCount; ++i) {
        double sum = 0;
        for (int c = 0; c < channelCount; ++c) sum += m_weighting[std::size_t(c)].Run(channels[c][i]);
        Push(Delayed(Finite(sum * sum / channelCount, channelCount)));
    }
}

// Samples that are not numbers (or so large that their square is not)
// count as silence; the filters they passed through would otherwise keep
// them for good.
double KLoudnessMeter::Finite(double power, int channelCount) noexcept {
    if (std::isfinite(power)) return power;
    for (int c = 0; c < channelCount; ++c) m_weighting[std::size_t(c)].Reset();
    return 0;
}

double KLoudnessMeter::Delayed(double power) noexcept {
    if (m_delay == 0) return power;
    double* line = m_delayLine.Data();
    line[m_delayPosition] = power;
    const double out = line[(m_delayPosition - std::size_t(m_delay)) & m_delayMask];
    m_delayPosition = (m_delayPosition + 1) & m_delayMask;
    return out;
}

void KLoudnessMeter::Push(double power) noexcept {
    double* window = m_window.Data();
    m_sum += power - window[m_position];
    window[m_position] = power;
    if (++m_position == m_length) {
        // Once per window the running sum is recomputed, so that rounding
        // errors of the additions cannot pile up.
        m_position = 0;
        m_sum = 0;
        for (int i = 0; i < m_length; ++i) m_sum += window[i];
    }
}
