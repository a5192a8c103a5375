#pragma once

// Fundamental-frequency detection for the sample analysis of a signal
// generator, after the YIN method (de Cheveigné and Kawahara, "YIN, a
// fundamental frequency estimator for speech and music", JASA 2002):
//
// 1. the difference function d(t) = sum over a window of (x[j] - x[j + t])²
//    for lags t up to the longest period searched;
// 2. its cumulative-mean normalisation d'(t) = d(t) t / sum of d(1..t);
// 3. the first lag where d' dips below kThreshold, followed down to its local
//    minimum (or the global minimum when no dip is that deep, if it is below
//    kUnvoiced; otherwise no pitch);
// 4. parabolic interpolation of d' around that lag.
//
// A final step refines the period over many cycles: d is minimised around
// the largest multiple m of the period that fits half the frames, and the
// interpolated lag divided by m, which divides the error by m as well.
class KPitchDetector {
public:
    static constexpr double kMinimumPitch = 20;    // Hz
    static constexpr double kMaximumPitch = 5000;  // Hz
    static constexpr double kThreshold = 0.1;
    static constexpr double kUnvoiced = 0.35;

    // The fundamental of frames[0..count) in Hz, or 0 when none is found.
    static double Detect(const float* frames, int count, double sampleRate);

    // The period in samples, or 0 when none is found.
    static double DetectPeriod(const float* frames, int count, double sampleRate);
};
