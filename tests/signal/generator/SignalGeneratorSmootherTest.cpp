#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "signal/analysis/KRealFft.h"
#include "signal/generator/KSignalGeneratorSmoother.h"

namespace {

std::vector<float> Rough() {
    std::vector<float> x(8192);
    for (int j = 0; j < 8192; ++j) x[j] = (j / 512) % 2 == 0 ? 1.0f : -1.0f;
    x[100] = 3.0f;  // a spike near the wrap-around
    return x;
}

class SmootherWidths : public ::testing::TestWithParam<double> {};

TEST_P(SmootherWidths, DirectAndFftConvolutionAgree) {
    KRealFft fft(8192);
    KSignalGeneratorSmoother direct, viaFft;
    std::vector<float> a = Rough(), b = Rough(), scratch(8192);
    direct.ConvolveDirect(a.data(), scratch.data(), GetParam());
    viaFft.ConvolveFft(b.data(), GetParam(), fft);
    for (int j = 0; j < 8192; ++j) ASSERT_NEAR(a[j], b[j], 2e-6) << j;
}

INSTANTIATE_TEST_SUITE_P(ShortAndLongKernels, SmootherWidths, ::testing::Values(0.3, 5.0, 30.5, 31.0, 128.0, 256.0));

// A circular convolution scales a sinusoid of frequency b by the kernel's
// transform at b: H = sum of k(d) cos(2 pi b d / N) for a symmetric kernel.
TEST(KSignalGeneratorSmoother, ScalesASinusoidByTheKernelTransform) {
    const double width = 200;
    const int half = 200;
    double sum = 0, response = 0;
    for (int d = -half; d <= half; ++d) {
        const double tap = std::exp(-std::pow(2.0 * d / width, 2));
        sum += tap;
        response += tap * std::cos(2 * std::numbers::pi * 5 * d / 8192);
    }
    response /= sum;

    std::vector<float> x(8192), scratch(8192);
    for (int j = 0; j < 8192; ++j) x[j] = float(std::sin(2 * std::numbers::pi * 5 * j / 8192));
    KRealFft fft(8192);
    KSignalGeneratorSmoother smoother;
    smoother.Smooth(x.data(), scratch.data(), width, fft);
    EXPECT_EQ(smoother.HalfTaps(), 200);
    for (int j = 0; j < 8192; j += 97) ASSERT_NEAR(x[j], response * std::sin(2 * std::numbers::pi * 5 * j / 8192), 1e-6);
}

TEST(KSignalGeneratorSmoother, KeepsAConstant) {
    KRealFft fft(8192);
    KSignalGeneratorSmoother smoother;
    std::vector<float> x(8192, 0.75f), scratch(8192);
    smoother.Smooth(x.data(), scratch.data(), 12.3, fft);
    EXPECT_EQ(smoother.HalfTaps(), 13);
    for (float v : x) ASSERT_NEAR(v, 0.75, 1e-6);
}

}  // namespace
