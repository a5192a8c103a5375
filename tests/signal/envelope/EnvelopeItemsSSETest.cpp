// The vector variants must give exactly the plain items' values.
#include <gtest/gtest.h>

#include "signal/envelope/EnvelopeTesting.h"
#include "signal/envelope/KEnvelopeItemsSSE.h"

#if defined(__SSE2__)

namespace {

using namespace envelope_testing;

// Odd and even starts and lengths, positions before, inside and after the item.
template <typename Sample>
void ExpectSameFill(const Computer::Item& plain, const Computer::Item& vector) {
    constexpr int n = 67;
    for (int begin = 0; begin < 3; ++begin) {
        for (int end : {begin, begin + 1, n - 1, n}) {
            std::vector<Sample> expected(n, Sample(-9));
            std::vector<Sample> actual(n, Sample(-9));
            if constexpr (sizeof(Sample) == sizeof(float)) {
                plain.Fill(expected.data(), -0.1, 0.0191, begin, end);
                vector.Fill(actual.data(), -0.1, 0.0191, begin, end);
            } else {
                plain.Fill64(expected.data(), -0.1, 0.0191, begin, end);
                vector.Fill64(actual.data(), -0.1, 0.0191, begin, end);
            }
            EXPECT_EQ(actual, expected) << begin << ".." << end;
        }
    }
}

template <class Plain, class Vector, typename... Arguments>
void ExpectSameValues(Arguments... arguments) {
    const Plain plain(arguments...);
    const Vector vector(arguments...);
    ExpectSameFill<float>(plain, vector);
    ExpectSameFill<double>(plain, vector);
}

const Computer::Vertex kP{0.1, -0.3};
const Computer::Vertex kQ{0.9, 1.2};

TEST(EnvelopeItemsSSE, PolynomialsMatchThePlainItems) {
    ExpectSameValues<Computer::ItemQuadratic, Computer::ItemQuadraticSSE>(kP, kQ, 0.7);
    ExpectSameValues<Computer::ItemFourthOrder, Computer::ItemFourthOrderSSE>(kP, kQ, 0.45);
    ExpectSameValues<Computer::ItemFourthOrder, Computer::ItemFourthOrderSSE>(kP, kQ, -0.8);
    ExpectSameValues<Computer::ItemCubic, Computer::ItemCubicSSE>(kP, 2.5, kQ, -1.5);
}

TEST(EnvelopeItemsSSE, BezierMatchesThePlainItem) {
    ExpectSameValues<Computer::ItemBezier, Computer::ItemBezierSSE>(kP, Computer::Vertex{0.3, 1.0}, kQ);
    // Control point straight above the start: the root's denominator is 0 there.
    ExpectSameValues<Computer::ItemBezier, Computer::ItemBezierSSE>(kP, Computer::Vertex{kP.x, 1.0}, kQ);
    // Control point halfway in x: x(t) is linear.
    ExpectSameValues<Computer::ItemBezier, Computer::ItemBezierSSE>(kP, Computer::Vertex{0.5, -1.0}, kQ);
}

}  // namespace

#endif
