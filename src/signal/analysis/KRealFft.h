#pragma once
#include <complex>
#include <vector>

// Real-input FFT of a power-of-two length N, in place on float data in the
// packed layout: [X(0), X(N/2), Re X(1), Im X(1), ..., Re X(N/2-1), Im X(N/2-1)]
// (the two purely real bins first, then the positive-frequency bins).
//
// Both directions are unnormalised: Forward gives X(k) = sum x(n) e^(-2 pi i kn/N),
// Inverse gives x(n) = sum over all N bins of X(k) e^(+2 pi i kn/N), so
// Inverse(Forward(x)) = N x. All tables and the work buffer are made by the
// constructor; the transforms allocate nothing. Arithmetic runs in double.
class KRealFft {
public:
    explicit KRealFft(int length);

    int Length() const noexcept { return m_length; }

    void Forward(float* data) noexcept;
    void Inverse(float* data) noexcept;

private:
    using Complex = std::complex<double>;

    // In-place complex FFT of N/2 points on the work buffer (forward sign).
    void TransformHalf() noexcept;

    int m_length;
    std::vector<int> m_bitReverse;         // N/2 entries
    std::vector<Complex> m_halfTwiddles;   // e^(-2 pi i k/(N/2)), k < N/4
    std::vector<Complex> m_splitTwiddles;  // e^(-2 pi i k/N), k <= N/2
    std::vector<Complex> m_work;           // N/2 entries
};
