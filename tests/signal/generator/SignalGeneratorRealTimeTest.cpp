#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "signal/generator/SignalGeneratorTesting.h"
#include "support/AllocationCounter.h"

namespace {

using Control = KSignalGenerator::Control;

template <class Work>
long AllocationsDuring(Work work) {
    const std::size_t before = AllocationCounter::Count();
    work();
    return long(AllocationCounter::Count() - before);
}

TEST(KSignalGeneratorRealTime, NormalRebuildWithEveryOperationAllocatesNothing) {
    auto g = NewGenerator();
    std::vector<float> custom(8192, 0.25f);
    g->SetCustomSample(custom.data());
    g->Set(Control::CustomSampleDepth, 0.5);
    g->Set(Control::EnvelopeDepth, 0.5);
    g->Set(Control::StepDepth, 0.5);
    g->SetStepType(2, 13);
    g->Set(Control::Phase, 0.2);
    g->Set(Control::Skew, 0.2);
    g->Set(Control::FullSkew, 0.2);
    g->Set(Control::Halve, 0.2);
    g->SetShapeHarmonicLevel(3, 0.5);
    g->SetTransformEnabled(true);
    g->SetAmplitudeTransformEnabled(true);
    for (const double smoothness : {0.05, 0.5}) {  // direct and FFT convolution
        g->Set(Control::Smoothness, smoothness);
        EXPECT_EQ(AllocationsDuring([&] { EXPECT_TRUE(g->UpdateIfChanged()); }), 0) << smoothness;
    }
    EXPECT_EQ(AllocationsDuring([&] { EXPECT_FALSE(g->UpdateIfChanged()); }), 0);
}

TEST(KSignalGeneratorRealTime, HarmonicsRegenerationAllocatesNothing) {
    auto g = NewGenerator();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->Set(Control::Sharpen, 0.5);
    g->Set(Control::Noise, 0.5);
    g->Set(Control::Clean, 0.5);
    g->Set(Control::Compress, 0.5);
    g->Set(Control::Harmonize, 0.5);
    EXPECT_EQ(AllocationsDuring([&] { EXPECT_TRUE(g->UpdateIfChanged()); }), 0);
}

TEST(KSignalGeneratorRealTime, SampleAllocatesNothing) {
    auto g = NewGenerator();
    double sum = 0;
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int k = 0; k < 1000; ++k) sum += std::abs(g->Sample(k * 0.0137));
              }),
              0);
    EXPECT_NE(sum, 0);
}

}  // namespace
