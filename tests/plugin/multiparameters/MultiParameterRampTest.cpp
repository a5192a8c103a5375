#include <gtest/gtest.h>

#include <algorithm>

#include "support/AllocationCounter.h"
#include "MultiParameterTestSupport.h"

namespace {

using namespace multiparameter_test;
using E = TargetEffect;

// 375 samples at 48 kHz are 1/128 of a second: with a switch time of 1 s
// every block moves the ramp by exactly 1/128, and 128 blocks are 48000
// samples.
constexpr int kBlock = 375;
constexpr int kBlocksPerSecond = 128;

struct RampFixture : ::testing::Test, Plugin {
    RampFixture() {
        Multi(0).AddEntry(E::kA);
        Multi(0).EditEntry(0, [](KMultiParameterParameter& e) {
            e.range = {.value = 0, .maxValue = 1, .mode = KRangeMode::Interval};
        });
        Multi(0).SetSliderValue(0);
    }
    void Blocks(int count) {
        for (int i = 0; i < count; ++i) ProcessBlock(kBlock);
    }
};

TEST_F(RampFixture, ATriggerRisesForItsTimeAndFallsBackWithoutASecondPush) {
    Multi(0).SetMode(KMultiParameterMode::Trigger);
    Multi(0).SetSliderValue(1);  // pushed for one block
    Blocks(1);
    Multi(0).SetSliderValue(0);
    EXPECT_TRUE(Multi(0).RampRunning());
    Blocks(kBlocksPerSecond / 2 - 1);
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 0.5);  // 64 steps of 1/128
    Blocks(kBlocksPerSecond / 2);
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 1.0);  // 48000 samples
    EXPECT_TRUE(Multi(0).RampRunning());
    EXPECT_DOUBLE_EQ(Value(E::kA), 1.0);
    Blocks(kBlocksPerSecond - 1);
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 1.0 / 128);
    Blocks(1);
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 0.0);  // another 48000 samples
    EXPECT_FALSE(Multi(0).RampRunning());
    EXPECT_DOUBLE_EQ(Value(E::kA), 0.0);
}

TEST_F(RampFixture, ASwitchRampsToTheButtonsStateAndReversesWhenReleasedEarly) {
    Multi(0).SetMode(KMultiParameterMode::Switch);
    Multi(0).SetSwitchTime(0.5);  // 64 blocks
    Multi(0).SetSliderValue(1);
    Blocks(64);
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 1.0);
    EXPECT_FALSE(Multi(0).RampRunning());
    EXPECT_DOUBLE_EQ(Value(E::kA), 1.0);

    Multi(0).SetSliderValue(0);
    Blocks(16);  // a quarter of the way down: 1 - 16/64
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 0.75);
    Multi(0).SetSliderValue(1);  // pushed again: back up from where it is
    Blocks(16);
    EXPECT_DOUBLE_EQ(Multi(0).RampPosition(), 1.0);
    EXPECT_DOUBLE_EQ(Multi(0).SliderValue(), 1.0);
}

TEST_F(RampFixture, WhileARampRunsTheTargetsGlideInPiecesOfMaxLFOBlockSize) {
    Blocks(1);
    EXPECT_EQ(Effect().pieces.back(), kBlock);  // nothing running: one piece

    Multi(0).SetMode(KMultiParameterMode::Switch);
    Multi(0).SetSliderValue(1);
    Effect().pieces.clear();
    Blocks(1);
    EXPECT_EQ(Effect().pieces, (std::vector<int>{256, kBlock - 256}));
    // A (which the effect multiplies by) glides from 0 towards the first
    // step, 1/128, instead of jumping there at the block start.
    EXPECT_EQ(left.front(), 0.0f);
    EXPECT_GT(left.back(), 0.0f);
    EXPECT_LT(left.back(), 1.0f / 128);

    adapter.SetMaxLFOBlockSize(100);
    Effect().pieces.clear();
    Blocks(1);
    EXPECT_EQ(Effect().pieces, (std::vector<int>{100, 100, 100, 75}));
}

// A limit below one sample stands for the default of 256, whether it came
// from the setter or from a stored state.
TEST_F(RampFixture, AMaxLFOBlockSizeBelowOneCutsPiecesOfTheDefaultSize) {
    Multi(0).SetMode(KMultiParameterMode::Switch);
    Multi(0).SetSliderValue(1);
    for (int size : {0, -5}) {
        adapter.SetMaxLFOBlockSize(size);
        Effect().pieces.clear();
        Blocks(1);
        EXPECT_EQ(Effect().pieces, (std::vector<int>{256, kBlock - 256})) << size;
    }
}

TEST_F(RampFixture, ApplyingAndRampingOnTheAudioThreadAllocateNothing) {
    Multi(0).AddEntry(E::kB);
    Multi(0).SetMode(KMultiParameterMode::Banks);
    Multi(0).SetMode(KMultiParameterMode::Switch);
    Multi(0).SetSliderValue(1, true);
    ProcessBlock(kBlock);  // buffers of this length exist from here on

    const int position = PositionIndex(0);
    const std::size_t before = AllocationCounter::Count();
    for (int i = 0; i < 20; ++i) {
        adapter.SetParameter(position, i % 2 ? 1.0 : 0.0);  // host automation
        adapter.SetParameter(position + 2, 0.5);            // an entry's maximal value
        ProcessBlock(kBlock);
    }
    EXPECT_EQ(AllocationCounter::Count(), before);
}

}  // namespace
