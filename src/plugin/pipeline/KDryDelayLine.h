#pragma once
#include "plugin/pipeline/KGrowableBuffer.h"

// Delays an unprocessed channel by the plug-in's latency so that it stays
// aligned with the processed ones. Input and output may be the same buffer.
class KDryDelayLine {
public:
    // Sizes the line; when the delay differs from the current one the line
    // is emptied, so that it first returns `delay` zero samples.
    void SetDelay(int delay);
    int Delay() const noexcept { return m_delay; }
    // Zeroes the held samples (the delay stays).
    void Clear() noexcept;

    void Process(const float* input, float* output, int sampleCount) noexcept;

private:
    KGrowableBufferT<float> m_buffer;
    std::size_t m_mask = 0;
    std::size_t m_write = 0;
    int m_delay = 0;
};
