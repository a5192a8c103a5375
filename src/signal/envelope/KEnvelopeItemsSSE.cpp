#include "signal/envelope/KEnvelopeItemsSSE.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {

void Store(float* out, __m128d values) { _mm_storel_pi(reinterpret_cast<__m64*>(out), _mm_cvtpd_ps(values)); }

void Store(double* out, __m128d values) { _mm_storeu_pd(out, values); }

// Positions x0 + k dx for k and k + 1, computed as the scalar code does.
class PositionPairs {
public:
    PositionPairs(double x0, double dx, int k)
        : m_x0(_mm_set1_pd(x0)), m_dx(_mm_set1_pd(dx)), m_k(_mm_set_pd(k + 1.0, k)) {}

    __m128d Next() {
        const __m128d positions = _mm_add_pd(m_x0, _mm_mul_pd(m_k, m_dx));
        m_k = _mm_add_pd(m_k, _mm_set1_pd(2));
        return positions;
    }

private:
    __m128d m_x0, m_dx, m_k;
};

template <int Degree>
__m128d Horner(const KEnvelopePolynomialT<Degree>& polynomial, __m128d t) {
    __m128d value = _mm_set1_pd(polynomial.coefficients[Degree]);
    for (int i = Degree - 1; i >= 0; --i)
        value = _mm_add_pd(_mm_mul_pd(value, t), _mm_set1_pd(polynomial.coefficients[i]));
    return value;
}

// Pairs through the vector formula; an odd last position through the plain item.
template <typename Sample, class PairValues, class Item>
void FillPairs(Sample* out, double x0, double dx, int begin, int end, PairValues pairValues, const Item& item) {
    PositionPairs positions(x0, dx, begin);
    int k = begin;
    for (; k + 2 <= end; k += 2) Store(out + k, pairValues(positions.Next()));
    if (k < end) out[k] = Sample(item.Value(x0 + k * dx));
}

template <typename Sample, int Degree, class Item>
void FillPolynomial(Sample* out, double x0, double dx, int begin, int end, const Item& item) {
    const KEnvelopePolynomialT<Degree>& polynomial = item.Polynomial();
    const __m128d origin = _mm_set1_pd(polynomial.origin);
    FillPairs(out, x0, dx, begin, end, [&](__m128d x) { return Horner(polynomial, _mm_sub_pd(x, origin)); }, item);
}

}  // namespace

using Computer = KEnvelopeComputer;

void Computer::ItemQuadraticSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<float, 2>(out, x0, dx, begin, end, *this);
}
void Computer::ItemQuadraticSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<double, 2>(out, x0, dx, begin, end, *this);
}

void Computer::ItemFourthOrderSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<float, 4>(out, x0, dx, begin, end, *this);
}
void Computer::ItemFourthOrderSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<double, 4>(out, x0, dx, begin, end, *this);
}

void Computer::ItemCubicSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<float, 3>(out, x0, dx, begin, end, *this);
}
void Computer::ItemCubicSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<double, 3>(out, x0, dx, begin, end, *this);
}

namespace {

// ItemBezier::Value for two positions: the parameter by the rationalised
// root, then the y polynomial.
struct BezierPairs {
    __m128d x0, a, b, b2;
    const KEnvelopePolynomialT<2>& y;

    __m128d operator()(__m128d x) const {
        const __m128d offset = _mm_sub_pd(x, x0);
        // Operands in this order so that NaN and -0 come out as std::max gives them.
        const __m128d root = _mm_sqrt_pd(_mm_max_pd(_mm_add_pd(b2, _mm_mul_pd(a, offset)), _mm_setzero_pd()));
        const __m128d denominator = _mm_add_pd(b, root);
        const __m128d positive = _mm_cmpgt_pd(denominator, _mm_setzero_pd());
        const __m128d t = _mm_and_pd(positive, _mm_div_pd(offset, denominator));
        return Horner(y, t);
    }
};

}  // namespace

void Computer::ItemBezierSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    const BezierPairs pairs{_mm_set1_pd(m_x0), _mm_set1_pd(m_a), _mm_set1_pd(m_b), _mm_set1_pd(m_b * m_b), m_y};
    FillPairs(out, x0, dx, begin, end, pairs, *this);
}
void Computer::ItemBezierSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    const BezierPairs pairs{_mm_set1_pd(m_x0), _mm_set1_pd(m_a), _mm_set1_pd(m_b), _mm_set1_pd(m_b * m_b), m_y};
    FillPairs(out, x0, dx, begin, end, pairs, *this);
}

#endif
