#pragma once
#include <complex>
#include <memory>
#include <vector>

// Real-input FFT of a power-of-two length N, in place on float data in the
// packed layout: [X(0), X(N/2), Re X(1), Im X(1), ..., Re X(N/2-1), Im X(N/2-1)]
// (the two purely real bins first, then the positive-frequency bins).
//
// Both directions are unnormalised: Forward gives X(k) = sum x(n) e^(-2 pi i kn/N),
// Inverse gives x(n) = sum over all N bins of X(k) e^(+2 pi i kn/N), so
// Inverse(Forward(x)) = N x. The constructor makes the work buffer and finds
// the tables; the transforms allocate nothing. Arithmetic runs in double.
class KRealFft {
public:
    explicit KRealFft(int length);

    int Length() const noexcept { return m_length; }

    void Forward(float* data) noexcept;
    void Inverse(float* data) noexcept;

private:
    using Complex = std::complex<double>;

    // What depends on the length alone. Every transform of one length shares
    // one set (each generator has a transform of 8192), made by the first.
    struct Tables {
        explicit Tables(int length);
        std::vector<int> bitReverse;         // N/2 entries
        std::vector<Complex> twiddles;       // e^(-2 pi i k/N), k <= N/2
    };
    static std::shared_ptr<const Tables> SharedTables(int length);

    // In-place complex FFT of N/2 points on the work buffer (forward sign).
    void TransformHalf() noexcept;

    int m_length;
    std::shared_ptr<const Tables> m_tables;
    std::vector<Complex> m_work;  // N/2 entries
};
