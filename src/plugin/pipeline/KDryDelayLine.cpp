#include "plugin/pipeline/KDryDelayLine.h"

#include <algorithm>
#include <cstring>

void KDryDelayLine::SetDelay(int delay) {
    delay = std::max(delay, 0);
    m_buffer.Reserve(std::size_t(delay) + 1);
    m_mask = m_buffer.Capacity() - 1;
    if (delay == m_delay) return;
    m_delay = delay;
    Clear();
}

void KDryDelayLine::Clear() noexcept {
    m_buffer.Clear();
    m_write = 0;
}

void KDryDelayLine::Process(const float* input, float* output, int sampleCount) noexcept {
    if (m_delay == 0) {
        if (input != output) std::memmove(output, input, sizeof(float) * std::size_t(std::max(sampleCount, 0)));
        return;
    }
    float* line = m_buffer.Data();
    const std::size_t delay = std::size_t(m_delay);
    // Writing before reading lets the output alias the input.
    for (int i = 0; i < sampleCount; ++i) {
        line[m_write] = input[i];
        output[i] = line[(m_write - delay) & m_mask];
        m_write = (m_write + 1) & m_mask;
    }
}
