#pragma once
#include "plugin/pipeline/KLoudnessMeter.h"

// Automatic gain compensation: the output follows the loudness of the input.
// Both sides are measured K-weighted (ITU-R BS.1770) over 400 ms, the
// standard's momentary-loudness window: long enough to ride over single
// waveform periods and modulation cycles, short enough to follow a change of
// settings within half a second.
class KAutomaticGainControl {
public:
    static constexpr double kWindowSeconds = 0.4;
    // Assumed input power when the plug-in has no input bus.
    static constexpr double kMissingInputPower = 0.05;

    // Clears both meters; the input is measured `latency` samples late so
    // that it lines up with the output. The first block after this fades in
    // from silence, and for two seconds the gain does not rise above 1.
    void Initialize(double sampleRate, int latency);

    // A channel count of 0 means there is no input bus.
    void MeasureInput(float* const* inputs, int channelCount, int sampleCount) noexcept;
    // Measures the output and ramps it from the previous block's gain to the
    // new one, sample by sample.
    void Correct(float* const* outputs, int channelCount, int sampleCount) noexcept;

    // The gain the last block ramped to.
    double Gain() const noexcept { return m_gain; }
    // Input over output power as an amplitude factor (1 while the output
    // is silent): what a fixed output gain would have to apply.
    double MeasuredRatio() const noexcept;

private:
    double TargetGain() const noexcept;

    KLoudnessMeter m_input;
    KLoudnessMeter m_output;
    bool m_inputMissing = false;
    double m_gain = 0;
    double m_startupSamples = 0;
};
