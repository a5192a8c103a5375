#include "plugin/pipeline/KAutomaticGainControl.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSilentPower = 1e-10;
constexpr double kMinimumGain = 0.01;
constexpr double kMaximumGain = 100;
constexpr double kStartupSeconds = 2;

// A channel that repeats an earlier channel's buffer (a mono host bus) is
// one buffer and must be scaled once.
bool RepeatsEarlierChannel(float* const* channels, int channel) noexcept {
    for (int c = 0; c < channel; ++c)
        if (channels[c] == channels[channel]) return true;
    return false;
}

}  // namespace

void KAutomaticGainControl::Initialize(double sampleRate, int latency) {
    m_input.Initialize(sampleRate, kWindowSeconds, latency);
    m_output.Initialize(sampleRate, kWindowSeconds, 0);
    m_gain = 0;
    m_startupSamples = kStartupSeconds * sampleRate;
}

void KAutomaticGainControl::MeasureInput(float* const* inputs, int channelCount, int sampleCount) noexcept {
    m_inputMissing = channelCount <= 0;
    if (!m_inputMissing) m_input.Measure(inputs, channelCount, sampleCount);
}

double KAutomaticGainControl::MeasuredRatio() const noexcept {
    const double output = m_output.MeanPower();
    if (output < kSilentPower) return 1.0;
    const double input = m_inputMissing ? kMissingInputPower : m_input.MeanPower();
    return std::sqrt(input / output);
}

double KAutomaticGainControl::TargetGain() const noexcept {
    return std::clamp(MeasuredRatio(), kMinimumGain, kMaximumGain);
}

void KAutomaticGainControl::Correct(float* const* outputs, int channelCount, int sampleCount) noexcept {
    if (sampleCount <= 0) return;
    m_output.Measure(outputs, channelCount, sampleCount);
    double target = TargetGain();
    if (m_startupSamples > 0) {
        target = std::min(target, 1.0);
        m_startupSamples -= sampleCount;
    }
    const double step = (target - m_gain) / sampleCount;
    for (int c = 0; c < channelCount; ++c) {
        if (RepeatsEarlierChannel(outputs, c)) continue;
        float* samples = outputs[c];
        for (int i = 0; i < sampleCount; ++i) samples[i] = float(samples[i] * (m_gain + step * (i + 1)));
    }
    m_gain = target;
}
