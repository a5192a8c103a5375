#pragma once
#include <array>

class KRealFft;

// The "Smoothness" operation of a signal generator: circular convolution of
// one 8192-sample period with a normalised Gaussian kernel of width
// w = smoothness × 256 and half-length ceil(w). Short kernels convolve
// directly, long ones through the FFT; both give the same result. All
// storage is preallocated, so smoothing never allocates.
class KSignalGeneratorSmoother {
public:
    static constexpr int kLength = 8192;
    static constexpr int kMaxHalfTaps = 256;
    // Kernels with at least this many taps on each side use the FFT.
    static constexpr int kFftHalfTaps = 31;

    // data: kLength samples, smoothed in place; scratch: kLength samples.
    void Smooth(float* data, float* scratch, double width, KRealFft& fft) noexcept;
    void ConvolveDirect(float* data, float* scratch, double width) noexcept;
    void ConvolveFft(float* data, double width, KRealFft& fft) noexcept;

    int HalfTaps() const noexcept { return m_halfTaps; }

private:
    void PrepareKernel(double width) noexcept;
    void PrepareSpectrum(KRealFft& fft) noexcept;

    // The kernel follows the exact width, not only its half-length, so equal
    // settings always give equal tables (a restored state matches its source).
    double m_width = 0;
    int m_halfTaps = 0;
    std::array<float, 2 * kMaxHalfTaps + 1> m_kernel{};  // taps for d = -half..half
    bool m_spectrumReady = false;
    std::array<float, kLength> m_spectrum{};  // packed real FFT of the kernel
};
