#pragma once
#include <array>

// One stage of 2x resampling through a polyphase IIR half-band filter: two
// chains of first-order allpass sections whose outputs are the two phases
// of the high-rate signal. Nearly linear phase in the pass band with a few
// samples of group delay, steep and cheap; it carries no latency that would
// be reported to the host.
class KHalfbandFilter {
public:
    static constexpr int kMaxCoefficients = 8;

    // Designs the allpass coefficients; see KFilterDesign for the meaning
    // of `transition`.
    void Configure(int coefficientCount, double transition);
    void Reset() noexcept;

    // `sampleCount` samples in, twice as many out.
    void Upsample(const float* input, float* output, int sampleCount) noexcept;
    // 2 * `sampleCount` samples in, `sampleCount` out; `output` may be
    // `input`.
    void Downsample(const float* input, float* output, int sampleCount) noexcept;

private:
    // Per section: the previous input and output.
    struct Chain {
        std::array<double, kMaxCoefficients> x{};
        std::array<double, kMaxCoefficients> y{};
    };
    double Run(Chain& chain, int first, double sample) noexcept;

    std::array<double, kMaxCoefficients> m_coefficients{};
    int m_count = 0;
    Chain m_upEven, m_upOdd, m_downEven, m_downOdd;
};
