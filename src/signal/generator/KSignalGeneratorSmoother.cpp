#include "signal/generator/KSignalGeneratorSmoother.h"

#include <algorithm>
#include <cmath>

#include "signal/analysis/KRealFft.h"

void KSignalGeneratorSmoother::Smooth(float* data, float* scratch, double width, KRealFft& fft) noexcept {
    PrepareKernel(width);
    if (m_halfTaps < kFftHalfTaps) ConvolveDirect(data, scratch, width);
    else ConvolveFft(data, width, fft);
}

void KSignalGeneratorSmoother::PrepareKernel(double width) noexcept {
    width = std::clamp(width, 1e-300, double(kMaxHalfTaps));
    if (width == m_width && m_halfTaps > 0) return;
    m_width = width;
    m_halfTaps = int(std::ceil(width));
    double sum = 0;
    for (int d = -m_halfTaps; d <= m_halfTaps; ++d) {
        const double x = 2.0 * d / width;
        const double tap = std::exp(-x * x);
        m_kernel[d + m_halfTaps] = float(tap);
        sum += tap;
    }
    for (int k = 0; k <= 2 * m_halfTaps; ++k) m_kernel[k] = float(m_kernel[k] / sum);
    m_spectrumReady = false;
}

void KSignalGeneratorSmoother::ConvolveDirect(float* data, float* scratch, double width) noexcept {
    PrepareKernel(width);
    std::copy(data, data + kLength, scratch);
    const int half = m_halfTaps;
    for (int j = 0; j < kLength; ++j) {
        double sum = 0;
        for (int d = -half; d <= half; ++d) sum += double(m_kernel[d + half]) * scratch[(j - d) & (kLength - 1)];
        data[j] = float(sum);
    }
}

void KSignalGeneratorSmoother::PrepareSpectrum(KRealFft& fft) noexcept {
    if (m_spectrumReady) return;
    // The kernel centred on sample 0, wrapped around the period.
    m_spectrum.fill(0.0f);
    for (int d = -m_halfTaps; d <= m_halfTaps; ++d) m_spectrum[d & (kLength - 1)] = m_kernel[d + m_halfTaps];
    fft.Forward(m_spectrum.data());
    m_spectrumReady = true;
}

void KSignalGeneratorSmoother::ConvolveFft(float* data, double width, KRealFft& fft) noexcept {
    PrepareKernel(width);
    PrepareSpectrum(fft);
    fft.Forward(data);
    const double scale = 1.0 / kLength;  // the inverse transform is unnormalised
    data[0] = float(double(data[0]) * m_spectrum[0] * scale);
    data[1] = float(double(data[1]) * m_spectrum[1] * scale);
    for (int k = 2; k < kLength; k += 2) {
        const double re = data[k], im = data[k + 1];
        const double kernelRe = m_spectrum[k], kernelIm = m_spectrum[k + 1];
        data[k] = float((re * kernelRe - im * kernelIm) * scale);
        data[k + 1] = float((re * kernelIm + im * kernelRe) * scale);
    }
    fft.Inverse(data);
}
