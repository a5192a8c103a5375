#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <thread>
#include <vector>

#include "foundation/core/KException.h"
#include "signal/analysis/KRealFft.h"

namespace {

// An input without symmetry, so that every bin is exercised.
std::vector<float> TestSignal(int n) {
    std::vector<float> x(n);
    for (int j = 0; j < n; ++j) x[j] = float(std::sin(0.37 * j) + 0.5 * std::cos(1.9 * j * j / double(n)) + 0.01 * j / n);
    return x;
}

std::complex<double> DirectDft(const std::vector<float>& x, int k) {
    std::complex<double> sum = 0;
    const int n = int(x.size());
    for (int j = 0; j < n; ++j) sum += double(x[j]) * std::polar(1.0, -2 * std::numbers::pi * double(k) * j / n);
    return sum;
}

// The packed layout: X(0), X(N/2), then Re and Im of X(1) ... X(N/2 - 1).
std::complex<double> PackedBin(const std::vector<float>& packed, int k) {
    const int half = int(packed.size()) / 2;
    if (k == 0) return packed[0];
    if (k == half) return packed[1];
    return {packed[2 * k], packed[2 * k + 1]};
}

class KRealFftSizes : public ::testing::TestWithParam<int> {};

TEST_P(KRealFftSizes, ForwardMatchesDirectDft) {
    const int n = GetParam();
    const std::vector<float> x = TestSignal(n);
    std::vector<float> packed = x;
    KRealFft fft(n);
    fft.Forward(packed.data());
    // Every bin for the small sizes, a spread including both ends for 8192.
    std::vector<int> bins = {0, 1, 2, 3, 97, 1000, 2048, 4095, 4096};
    if (n <= 256) {
        bins.clear();
        for (int k = 0; k <= n / 2; ++k) bins.push_back(k);
    }
    for (int k : bins) {
        const std::complex<double> expected = DirectDft(x, k);
        const double tolerance = 2e-6 * n;  // float storage of sums of n terms of size ~1
        EXPECT_NEAR(PackedBin(packed, k).real(), expected.real(), tolerance) << "bin " << k;
        EXPECT_NEAR(PackedBin(packed, k).imag(), expected.imag(), tolerance) << "bin " << k;
    }
}

TEST_P(KRealFftSizes, InverseOfForwardIsLengthTimesInput) {
    const int n = GetParam();
    const std::vector<float> x = TestSignal(n);
    std::vector<float> data = x;
    KRealFft fft(n);
    fft.Forward(data.data());
    fft.Inverse(data.data());
    for (int j = 0; j < n; ++j) ASSERT_NEAR(data[j] / n, x[j], 1e-5) << "sample " << j;
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, KRealFftSizes, ::testing::Values(4, 16, 256, 8192));

// One bin b with X(b) = a - i c (and its mirror X(N - b) = a + i c) sums to
// 2 a cos(2 pi b j / N) + 2 c sin(2 pi b j / N).
TEST(KRealFft, InverseOfOneBinIsACosine) {
    const int n = 8192;
    std::vector<float> data(n, 0.0f);
    data[2 * 3] = 0.5f;
    data[2 * 3 + 1] = -0.25f;
    KRealFft fft(n);
    fft.Inverse(data.data());
    for (int j = 0; j < n; j += 111) {
        const double angle = 2 * std::numbers::pi * 3 * j / n;
        EXPECT_NEAR(data[j], std::cos(angle) + 0.5 * std::sin(angle), 1e-5) << j;
    }
}

// The two real bins: X(0) adds a constant, X(N/2) an alternating sequence.
TEST(KRealFft, InverseOfRealBins) {
    std::vector<float> data(16, 0.0f);
    data[0] = 2.0f;
    data[1] = 1.0f;
    KRealFft fft(16);
    fft.Inverse(data.data());
    for (int j = 0; j < 16; ++j) EXPECT_NEAR(data[j], 2.0 + (j % 2 == 0 ? 1.0 : -1.0), 1e-6);
}

// Transforms of one length share their tables; each still has its own work
// buffer, so transforms made and run on several threads at once give what
// one transform alone gives, to the bit.
TEST(KRealFft, TransformsOnSeveralThreadsAtOnceAgreeExactly) {
    constexpr int kLength = 1024;
    std::vector<float> expected = TestSignal(kLength);
    KRealFft(kLength).Forward(expected.data());

    std::vector<std::vector<float>> results(4, TestSignal(kLength));
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&result] {
            KRealFft fft(kLength);
            for (int round = 0; round < 20; ++round) {
                result = TestSignal(kLength);
                fft.Forward(result.data());
            }
        });
    for (auto& thread : threads) thread.join();
    for (const auto& result : results) EXPECT_EQ(result, expected);
}

TEST(KRealFft, RejectsLengthsThatAreNotPowersOfTwo) {
    EXPECT_THROW(KRealFft(12), KException);
    EXPECT_THROW(KRealFft(2), KException);
}

}  // namespace
