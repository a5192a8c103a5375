#pragma once
#include <vector>

#include "plugin/pipeline/KGrowableBuffer.h"

// Linear-phase FIR resampling of one channel by an integer factor: a
// polyphase interpolator and a decimator that share one low-pass kernel.
// With an odd kernel of N taps each direction delays by (N - 1) / 2 samples
// of the high rate, so a round trip delays by (N - 1) / factor samples of
// the low rate.
class KPolyphaseFir {
public:
    // Designs the kernel (allocates). `taps` is odd.
    void Configure(int factor, int taps, double cutoff, double attenuationDb);
    void Reset() noexcept;

    int Factor() const noexcept { return m_factor; }
    int Taps() const noexcept { return m_taps; }

    // `sampleCount` low-rate samples in, factor times as many out.
    void Upsample(const float* input, float* output, int sampleCount) noexcept;
    // factor * `sampleCount` high-rate samples in, `sampleCount` out.
    void Downsample(const float* input, float* output, int sampleCount) noexcept;

private:
    int m_factor = 1;
    int m_taps = 1;
    int m_phaseTaps = 1;
    std::vector<float> m_kernel;  // symmetric, so it reads the same both ways
    std::vector<float> m_phases;  // per phase, reversed, scaled by the factor
    // Histories stored twice over, so that the newest samples are always
    // one contiguous run.
    KGrowableBufferT<float> m_upHistory;
    KGrowableBufferT<float> m_downHistory;
    int m_upPosition = 0;
    int m_downPosition = 0;
    int m_downPhase = 0;
};
