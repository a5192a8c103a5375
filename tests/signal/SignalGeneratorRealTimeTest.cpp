#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "SignalGeneratorTesting.h"

// Counts the allocations of the current thread, to show that what runs on
// the audio thread allocates nothing. Every form of the plain operators is
// replaced, so that each allocation is released by its own kind.
namespace {
thread_local long gAllocations = 0;

void* CountedAllocation(std::size_t size) noexcept {
    ++gAllocations;
    return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

using Control = KSignalGenerator::Control;

template <class Work>
long AllocationsDuring(Work work) {
    const long before = gAllocations;
    work();
    return gAllocations - before;
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
