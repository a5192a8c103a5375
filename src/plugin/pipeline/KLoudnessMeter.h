#pragma once
#include <array>

#include "plugin/pipeline/KGrowableBuffer.h"
#include "plugin/pipeline/KKWeightingFilter.h"

// Mean power of a set of channels over a sliding window: the K-weighted
// channels are summed, squared and divided by the channel count; an
// optional delay shifts the measurement (to align an input with an output
// that has latency).
class KLoudnessMeter {
public:
    static constexpr int kMaxChannels = 16;

    // Allocates; clears the window and the filters.
    void Initialize(double sampleRate, double windowSeconds, int delay);
    void Measure(float* const* channels, int channelCount, int sampleCount) noexcept;
    // The running sum is kept by adding and subtracting, so once the
    // window has fallen silent rounding may leave it just below 0.
    double MeanPower() const noexcept { return m_length > 0 && m_sum > 0 ? m_sum / m_length : 0; }

private:
    double Finite(double power, int channelCount) noexcept;
    double Delayed(double power) noexcept;
    void Push(double power) noexcept;

    std::array<KKWeightingFilter, kMaxChannels> m_weighting;
    KGrowableBufferT<double> m_window;
    KGrowableBufferT<double> m_delayLine;
    int m_length = 0;
    int m_position = 0;
    int m_delay = 0;
    std::size_t m_delayMask = 0;
    std::size_t m_delayPosition = 0;
    double m_sum = 0;
};
