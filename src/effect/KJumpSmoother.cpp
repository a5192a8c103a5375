#include "effect/KJumpSmoother.h"

#include <algorithm>
#include <cmath>

void KJumpSmoother::Run(float* samples, int count) noexcept {
    if (count <= 0) return;
    if (m_trigger) {
        m_trigger = false;
        const float jump = StartOfFade() - samples[0];
        m_remaining = m_length;
        m_offsetStep = static_cast<float>(-static_cast<double>(jump) * m_reciprocalLength);
        m_offset = m_offsetStep + jump;
    }
    m_rawPreviousButOne = count == 1 ? m_rawPrevious : samples[count - 2];
    m_rawPrevious = samples[count - 1];
    Fade(samples, count);
    if (count == 1) {
        m_previousButOne = m_previous;
        m_previous = samples[0];
    } else {
        m_previousButOne = samples[count - 2];
        m_previous = samples[count - 1];
    }
}

// A fade starts from the linear continuation of what was heard. That never
// lies beyond three times the larger of the last two samples the effect
// made, unless an earlier fade is still running: changes that follow each
// other faster than their fades end would otherwise carry what is heard
// ever further from the signal, block by block. Held to that range, one
// fade adds at most four times the signal's peak, however many overlap.
float KJumpSmoother::StartOfFade() const noexcept {
    const float continuation = 2 * m_previous - m_previousButOne;
    const float reach = 3 * std::max(std::fabs(m_rawPrevious), std::fabs(m_rawPreviousButOne));
    return std::clamp(continuation, -reach, reach);
}

void KJumpSmoother::Fade(float* samples, int count) noexcept {
    if (m_remaining <= 0) return;
    const int faded = std::min(m_remaining, count);
    for (int k = 0; k < faded; ++k) {
        samples[k] += m_offset;
        m_offset += m_offsetStep;
    }
    m_remaining -= faded;
    if (m_remaining <= 0) m_offset = m_offsetStep = 0;
}
