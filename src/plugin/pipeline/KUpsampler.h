#pragma once
#include <array>

#include "plugin/pipeline/KGrowableBuffer.h"
#include "plugin/pipeline/KHalfbandFilter.h"
#include "plugin/pipeline/KPolyphaseFir.h"

// Runs one channel at a multiple of the host rate: the host block is
// upsampled into Input(), the effect writes Output(), which is downsampled
// back to the host rate.
//
// Ordinary quality: cascaded 2x IIR half-band stages (KHalfbandFilter),
// elliptic designs with
//   stage 1 (host rate to 2x): 8 allpass coefficients, transition 0.23 to
//     0.27 of the 2x rate (pass band to 0.46 of the host rate, 20.3 kHz at
//     44.1 kHz), about 99 dB stop band;
//   stage 2 (2x to 4x): 4 coefficients, transition 0.14 to 0.36, about 106 dB;
//   stage 3 (4x to 8x): 3 coefficients, transition 0.07 to 0.43, about 127 dB.
// Their group delay is a few samples and is not reported.
//
// High quality: one linear-phase FIR at the high rate (KPolyphaseFir), a
// Kaiser-windowed sinc of 1537 taps (6145 with the longer filter) with
// 120 dB stop band starting at the host's Nyquist frequency; the pass band
// ends 0.0051 (0.0013) of the high rate below it, 21.6 kHz at 44.1 kHz x2.
// The up and down filters together delay by 1536 (6144) high-rate samples,
// 1536 / factor (6144 / factor) host samples: the latency reported.
class KUpsampler {
public:
    struct Setup {
        int factor = 1;  // 1, 2, 4 or 8
        bool highQuality = false;
        bool longFilter = false;  // high quality only
        double sampleRate = 0;    // the host rate; the designs are relative to it
        bool operator==(const Setup&) const = default;
    };

    // Host samples of delay that a setup adds and reports.
    static int Latency(const Setup& setup) noexcept;

    // Designs the filters and sizes the buffers for blocks of up to
    // `maxBlockSize` host samples (allocates).
    void Configure(const Setup& setup, int maxBlockSize);
    const Setup& CurrentSetup() const noexcept { return m_setup; }
    int MaxBlockSize() const noexcept { return m_maxBlockSize; }
    void Reset() noexcept;

    float* Input() noexcept { return m_input.Data(); }
    float* Output() noexcept { return m_output.Data(); }

    // `sampleCount` host samples into Input().
    void Upsample(const float* input, int sampleCount) noexcept;
    // factor * `sampleCount` samples of Output() (which this overwrites)
    // into `output`.
    void Downsample(float* output, int sampleCount) noexcept;

private:
    static constexpr int kMaxStages = 3;

    Setup m_setup;
    int m_maxBlockSize = 0;
    int m_stageCount = 0;
    KPolyphaseFir m_fir;
    std::array<KHalfbandFilter, kMaxStages> m_stages;
    KGrowableBufferT<float> m_input;
    KGrowableBufferT<float> m_output;
    KGrowableBufferT<float> m_scratch;
};
