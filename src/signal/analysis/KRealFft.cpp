#include "signal/analysis/KRealFft.h"

#include <map>
#include <mutex>
#include <numbers>
#include <utility>

#include "foundation/core/KException.h"

KRealFft::Tables::Tables(int length) {
    const int half = length / 2;
    int bits = 0;
    while ((1 << bits) < half) ++bits;
    bitReverse.resize(half);
    for (int k = 0; k < half; ++k) {
        int reversed = 0;
        for (int b = 0; b < bits; ++b) reversed |= ((k >> b) & 1) << (bits - 1 - b);
        bitReverse[k] = reversed;
    }
    const double step = -2.0 * std::numbers::pi / length;
    twiddles.resize(half + 1);
    for (int k = 0; k <= half; ++k) twiddles[k] = std::polar(1.0, step * k);
}

// A set lives while a transform of its length does.
std::shared_ptr<const KRealFft::Tables> KRealFft::SharedTables(int length) {
    static std::mutex mutex;
    static std::map<int, std::weak_ptr<const Tables>> made;
    const std::scoped_lock hold(mutex);
    std::shared_ptr<const Tables> tables = made[length].lock();
    if (!tables) {
        tables = std::make_shared<const Tables>(length);
        made[length] = tables;
    }
    return tables;
}

KRealFft::KRealFft(int length) : m_length(length) {
    if (length < 4 || (length & (length - 1)) != 0) throw KException("FFT length must be a power of two of at least 4.");
    m_tables = SharedTables(length);
    m_work.resize(length / 2);
}

void KRealFft::TransformHalf() noexcept {
    const int n = m_length / 2;
    const std::vector<int>& reversed = m_tables->bitReverse;
    for (int k = 0; k < n; ++k) {
        if (k < reversed[k]) std::swap(m_work[k], m_work[reversed[k]]);
    }
    const std::vector<Complex>& twiddles = m_tables->twiddles;
    for (int size = 2; size <= n; size *= 2) {
        const int span = size / 2;
        // The half-length transform's e^(-2 pi i j/(N/2)) is e^(-2 pi i 2j/N).
        const int stride = 2 * (n / size);
        for (int start = 0; start < n; start += size) {
            for (int k = 0; k < span; ++k) {
                const Complex odd = m_work[start + k + span] * twiddles[k * stride];
                const Complex even = m_work[start + k];
                m_work[start + k] = even + odd;
                m_work[start + k + span] = even - odd;
            }
        }
    }
}

// The even and odd samples travel as the real and imaginary parts of one
// half-length complex transform; the split step separates their spectra.
void KRealFft::Forward(float* data) noexcept {
    const int half = m_length / 2;
    for (int k = 0; k < half; ++k) m_work[k] = Complex(data[2 * k], data[2 * k + 1]);
    TransformHalf();
    const Complex z0 = m_work[0];
    data[0] = float(z0.real() + z0.imag());
    data[1] = float(z0.real() - z0.imag());
    const Complex minusHalfI(0.0, -0.5);
    for (int k = 1; k < half; ++k) {
        const Complex a = m_work[k];
        const Complex b = std::conj(m_work[half - k]);
        const Complex x = 0.5 * (a + b) + minusHalfI * m_tables->twiddles[k] * (a - b);
        data[2 * k] = float(x.real());
        data[2 * k + 1] = float(x.imag());
    }
}

// Rebuilds the half-length spectrum E(k) + i O(k) from X(k) and
// X(k + N/2) = conj X(N/2 - k), then inverts it by conjugating around a
// forward transform.
void KRealFft::Inverse(float* data) noexcept {
    const int half = m_length / 2;
    const auto bin = [data, half](int k) -> Complex {
        if (k == 0) return Complex(data[0], 0.0);
        if (k == half) return Complex(data[1], 0.0);
        return Complex(data[2 * k], data[2 * k + 1]);
    };
    const Complex i(0.0, 1.0);
    for (int k = 0; k < half; ++k) {
        const Complex x = bin(k);
        const Complex mirrored = std::conj(bin(half - k));
        const Complex even = x + mirrored;
        const Complex odd = (x - mirrored) * std::conj(m_tables->twiddles[k]);
        m_work[k] = std::conj(even + i * odd);
    }
    TransformHalf();
    for (int k = 0; k < half; ++k) {
        data[2 * k] = float(m_work[k].real());
        data[2 * k + 1] = float(-m_work[k].imag());
    }
}
