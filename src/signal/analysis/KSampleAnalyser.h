#pragma once
#include <array>

#include "foundation/text/KString.h"
#include "signal/analysis/KAudioSample.h"

// What the signal generator learns from its audio sample: the fundamental
// and, measured at it, the magnitudes (peak 1) and phases (cycles) of the
// first 256 harmonics, or the reason why there are none.
struct KSampleAnalysis {
    static constexpr int kHarmonicCount = 256;

    bool analysed = false;
    double pitch = 0;   // Hz
    double period = 0;  // samples
    std::array<float, kHarmonicCount> magnitudes{};
    std::array<float, kHarmonicCount> phases{};
    KString message;
};

namespace KSampleAnalyser {

// Analyses the frames from position (0..1) of the sample on; a null or
// short sample gives "Sample not loaded or too short.", an unpitched one
// "Unable to detect sample pitch.".
KSampleAnalysis Analyse(const KAudioSample* sample, double position);

// Harmonic k + 1 of `pitch`, for k < 256, measured over frames[0..count)
// with a Hann window spanning a whole number of periods: magnitudes scaled
// to a peak of 1, phase p meaning cos(2 pi (k + 1) f t - 2 pi p) at the
// first frame. Harmonics at or above the Nyquist frequency are 0.
void MeasureHarmonics(const float* frames, int count, double sampleRate, double pitch, KSampleAnalysis& result);

}  // namespace KSampleAnalyser
