#include "signal/envelope/KEnvelopeItemsSSE.h"

#if defined(__SSE2__)
#include <emmintrin.h>

// Two things decide the speed of these loops. Vector stores may alias any
// memory, so every value the loop reads from the item would be reloaded after
// each store: the coefficients are copied into locals first. And one Horner
// chain per pair leaves the processor waiting on each multiply-add: two pairs
// are evaluated per round, as two independent chains.

namespace {

void Store(float* out, __m128d low, __m128d high) {
    _mm_storeu_ps(out, _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high)));
}

void Store(double* out, __m128d low, __m128d high) {
    _mm_storeu_pd(out, low);
    _mm_storeu_pd(out + 2, high);
}

void Store(float* out, __m128d pair) { _mm_storel_pi(reinterpret_cast<__m64*>(out), _mm_cvtpd_ps(pair)); }

void Store(double* out, __m128d pair) { _mm_storeu_pd(out, pair); }

// The positions x0 + k dx as the plain items compute them. The indices are
// counted in doubles, which is exact far beyond any block length.
class Positions {
public:
    Positions(double x0, double dx, int k) : m_x0(_mm_set1_pd(x0)), m_dx(_mm_set1_pd(dx)), m_k(_mm_set_pd(k + 1.0, k)) {}

    __m128d At(double ahead) const { return _mm_add_pd(m_x0, _mm_mul_pd(_mm_add_pd(m_k, _mm_set1_pd(ahead)), m_dx)); }
    void Advance(double count) { m_k = _mm_add_pd(m_k, _mm_set1_pd(count)); }

private:
    __m128d m_x0, m_dx, m_k;
};

template <int Degree>
class VectorPolynomial {
public:
    explicit VectorPolynomial(const KEnvelopePolynomialT<Degree>& polynomial) : m_origin(_mm_set1_pd(polynomial.origin)) {
        for (int i = 0; i <= Degree; ++i) m_coefficients[i] = _mm_set1_pd(polynomial.coefficients[i]);
    }

    // Horner's rule in the plain polynomial's order of operations.
    __m128d operator()(__m128d x) const {
        const __m128d t = _mm_sub_pd(x, m_origin);
        __m128d value = m_coefficients[Degree];
        for (int i = Degree - 1; i >= 0; --i) value = _mm_add_pd(_mm_mul_pd(value, t), m_coefficients[i]);
        return value;
    }

private:
    __m128d m_origin;
    __m128d m_coefficients[Degree + 1];
};

// Four positions per round through the vector formula, then a pair, then an
// odd last position through the plain item.
template <typename Sample, class PairValues, class Item>
void FillVectors(Sample* out, double x0, double dx, int begin, int end, PairValues values, const Item& item) {
    Positions positions(x0, dx, begin);
    int k = begin;
    for (; k + 4 <= end; k += 4, positions.Advance(4)) Store(out + k, values(positions.At(0)), values(positions.At(2)));
    if (k + 2 <= end) {
        Store(out + k, values(positions.At(0)));
        k += 2;
    }
    if (k < end) out[k] = Sample(item.Value(x0 + k * dx));
}

template <int Degree, typename Sample, class Item>
void FillPolynomial(Sample* out, double x0, double dx, int begin, int end, const Item& item) {
    const VectorPolynomial<Degree> polynomial(item.Polynomial());
    FillVectors(out, x0, dx, begin, end, polynomial, item);
}

// ItemBezier::Value for two positions: the parameter by the rationalised
// root, then the y polynomial.
class BezierPairs {
public:
    BezierPairs(double x0, double a, double b, const KEnvelopePolynomialT<2>& y)
        : m_x0(_mm_set1_pd(x0)), m_a(_mm_set1_pd(a)), m_b(_mm_set1_pd(b)), m_b2(_mm_set1_pd(b * b)), m_y(y) {}

    __m128d operator()(__m128d x) const {
        const __m128d offset = _mm_sub_pd(x, m_x0);
        // Operands in this order so that NaN and -0 come out as std::max gives them.
        const __m128d root = _mm_sqrt_pd(_mm_max_pd(_mm_add_pd(m_b2, _mm_mul_pd(m_a, offset)), _mm_setzero_pd()));
        const __m128d denominator = _mm_add_pd(m_b, root);
        const __m128d positive = _mm_cmpgt_pd(denominator, _mm_setzero_pd());
        return m_y(_mm_and_pd(positive, _mm_div_pd(offset, denominator)));
    }

private:
    __m128d m_x0, m_a, m_b, m_b2;
    VectorPolynomial<2> m_y;
};

}  // namespace

using Computer = KEnvelopeComputer;

void Computer::ItemQuadraticSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<2>(out, x0, dx, begin, end, *this);
}
void Computer::ItemQuadraticSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<2>(out, x0, dx, begin, end, *this);
}

void Computer::ItemFourthOrderSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<4>(out, x0, dx, begin, end, *this);
}
void Computer::ItemFourthOrderSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<4>(out, x0, dx, begin, end, *this);
}

void Computer::ItemCubicSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<3>(out, x0, dx, begin, end, *this);
}
void Computer::ItemCubicSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillPolynomial<3>(out, x0, dx, begin, end, *this);
}

void Computer::ItemBezierSSE::Fill(float* out, double x0, double dx, int begin, int end) const {
    FillVectors(out, x0, dx, begin, end, BezierPairs(m_x0, m_a, m_b, m_y), *this);
}
void Computer::ItemBezierSSE::Fill64(double* out, double x0, double dx, int begin, int end) const {
    FillVectors(out, x0, dx, begin, end, BezierPairs(m_x0, m_a, m_b, m_y), *this);
}

#endif
