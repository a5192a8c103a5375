#include "effect/KJumpSmoother.h"

#include <algorithm>

void KJumpSmoother::Run(float* samples, int count) noexcept {
    if (count <= 0) return;
    if (m_trigger) {
        m_trigger = false;
        const float jump = 2 * m_previous - m_previousButOne - samples[0];
        m_remaining = m_length;
        m_offsetStep = static_cast<float>(-static_cast<double>(jump) * m_reciprocalLength);
        m_offset = m_offsetStep + jump;
    }
    if (m_remaining > 0) {
        const int faded = std::min(m_remaining, count);
        for (int k = 0; k < faded; ++k) {
            samples[k] += m_offset;
            m_offset += m_offsetStep;
        }
        m_remaining -= faded;
        if (m_remaining <= 0) m_offset = m_offsetStep = 0;
    }
    if (count == 1) {
        m_previousButOne = m_previous;
        m_previous = samples[0];
    } else {
        m_previousButOne = samples[count - 2];
        m_previous = samples[count - 1];
    }
}
