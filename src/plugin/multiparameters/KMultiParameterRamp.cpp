#include "plugin/multiparameters/KMultiParameter.h"

#include <algorithm>

// Switch and trigger modes: the button (the slider value, on from 0.5)
// starts, reverses or restarts a ramp of the position between 0 and 1 that
// takes the switch time; the ramp is stepped once per host block.

void KMultiParameter::SetSampleRate(double rate) {
    KScopedLock lock(m_lock);
    if (rate > 0) m_sampleRate = rate;
}

// A switch rests at the end its button selects; a trigger rests at 0.
void KMultiParameter::ResetRamp() noexcept {
    m_rampRunning.store(false, std::memory_order_release);
    m_rampDirection = 1;
    m_rampPosition = m_mode == KMultiParameterMode::Switch && WorkingSlider() >= 0.5 ? 1 : 0;
}

void KMultiParameter::PrepareForProcessing(int sampleCount) {
    if (Disabled()) return;
    KScopedLock lock(m_lock);
    const bool pending = m_pendingApply.exchange(false, std::memory_order_acq_rel);
    bool stepped = false;
    if (UsesRamp()) {
        PushButtonIfChanged();
        if ((stepped = RampRunning())) StepRamp(sampleCount);
    }
    if (pending || stepped) Apply();
}

void KMultiParameter::PushButtonIfChanged() {
    const bool switchMode = m_mode == KMultiParameterMode::Switch;
    const bool button = WorkingSlider() >= 0.5;
    const bool rampState = switchMode && (RampRunning() ? m_rampDirection > 0 : m_rampPosition >= 0.5);
    if (button == rampState) return;
    if (!RampRunning()) {
        m_rampDirection = m_rampPosition < 0.5 ? 1 : -1;
        m_rampRunning.store(true, std::memory_order_release);
    } else if (switchMode) {
        m_rampDirection = -m_rampDirection;
    } else if (m_rampDirection < 0) {
        m_rampDirection = 1;  // a falling trigger pushed again rises again
    }
    if (switchMode) (m_redirect ? m_alternateSlider : m_slider) = m_rampDirection > 0 ? 1 : 0;
}

// The step is direction * n / (time * rate), multiplied out in that order so
// that blocks whose length divides the ramp evenly land exactly on its end.
// Reaching an end counts as arriving there.
void KMultiParameter::StepRamp(int sampleCount) {
    m_rampPosition += m_rampDirection * double(sampleCount) / (m_switchTime * m_sampleRate);
    if (m_rampPosition <= 0) {
        m_rampPosition = 0;
        m_rampRunning.store(false, std::memory_order_release);
    } else if (m_rampPosition >= 1) {
        m_rampPosition = 1;
        if (m_mode == KMultiParameterMode::Switch) m_rampRunning.store(false, std::memory_order_release);
        else m_rampDirection = -1;
    }
}
