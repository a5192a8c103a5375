#include <gtest/gtest.h>

#include "plugin/pipeline/PipelineTestSupport.h"

namespace {

using namespace pipeline_test;

// Gain is a linear float record over 0..2: value = 2 * position.
constexpr int kGain = ScalingEffect::kGain;

struct InterpolationFixture : ::testing::Test {
    InterpolationFixture() {
        plugin.SetSampleRate(48000);
        plugin.InitProcessing();
        plugin.InterpolationPrepare(1000);  // consumes the reset that every set-up requests
    }
    const KParameterRecord& Gain() { return plugin.Effect().Record(kGain); }
    TestPlugin plugin;
};

TEST_F(InterpolationFixture, OnlyFloatRecordsAreInterpolated) {
    ASSERT_EQ(plugin.Interpolator().Entries().size(), 1u);
    plugin.SetParameter(ScalingEffect::kSteps, 0.9);
    EXPECT_FALSE(plugin.InterpolationPrepare(1000));
}

TEST_F(InterpolationFixture, DoesNotStartForOneSampleOrForChangesOfAtMostOneHundredThousandth) {
    plugin.SetParameter(kGain, 0.5 + 1e-5);
    EXPECT_FALSE(plugin.InterpolationPrepare(1000));
    plugin.SetParameter(kGain, 0.7);
    EXPECT_FALSE(plugin.InterpolationPrepare(1));
    EXPECT_FALSE(Gain().HasFlag(KParameterFlag::Redirect));
    EXPECT_DOUBLE_EQ(Gain().WorkingFloat(), 1.4);
    // The one-sample block ran with the new value: nothing is left to glide.
    EXPECT_FALSE(plugin.InterpolationPrepare(1000));
}

TEST_F(InterpolationFixture, AChangeGlidesAcrossThePiecesOfTheNextBlock) {
    plugin.SetParameter(kGain, 0.75);  // value 1.0 -> 1.5
    HostBuffers in(2, 1000), out(2, 1000);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 1000, true);

    // Position step 0.25 / 1000 per sample; each piece starts where the
    // samples before it brought the running value.
    const ScalingEffect& effect = plugin.Effect();
    ASSERT_EQ(effect.pieces, (std::vector<int>{256, 256, 256, 232}));
    const double expected[] = {1.0, 2 * (0.5 + 256 * 0.00025), 2 * (0.5 + 512 * 0.00025), 2 * (0.5 + 768 * 0.00025)};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(effect.workingGains[std::size_t(i)], expected[i], 1e-12) << i;

    // Afterwards the host's value is in force and nothing is redirected.
    EXPECT_FALSE(Gain().HasFlag(KParameterFlag::Redirect));
    EXPECT_DOUBLE_EQ(Gain().WorkingFloat(), 1.5);
    EXPECT_DOUBLE_EQ(plugin.GetParameter(kGain), 0.75);

    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 1000, true);
    EXPECT_EQ(effect.pieces.size(), 5u);  // unchanged: one piece
}

TEST_F(InterpolationFixture, BlocksNoLongerThanTheInterpolationLengthAreNotCut) {
    plugin.SetParameter(kGain, 0.75);
    HostBuffers in(2, 256), out(2, 256);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 256, true);
    EXPECT_EQ(plugin.Effect().pieces, (std::vector<int>{256}));
    EXPECT_DOUBLE_EQ(plugin.Effect().workingGains[0], 1.5);
}

// Hosts vary their block length: a long block after short ones that
// already ran with the new value must not glide back from the old one.
TEST_F(InterpolationFixture, ALongBlockAfterShortOnesStartsFromTheValueTheyRanWith) {
    plugin.SetParameter(kGain, 0.75);  // value 1.0 -> 1.5
    HostBuffers in(2, 1000), out(2, 1000);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 128, true);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 1000, true);
    const ScalingEffect& effect = plugin.Effect();
    ASSERT_EQ(effect.pieces, (std::vector<int>{128, 1000}));
    EXPECT_DOUBLE_EQ(effect.workingGains[0], 1.5);
    EXPECT_DOUBLE_EQ(effect.workingGains[1], 1.5);
}

TEST_F(InterpolationFixture, ASetUpTakesTheValuesOverWithoutGliding) {
    plugin.SetParameter(kGain, 0.25);
    plugin.InitProcessing();
    EXPECT_FALSE(plugin.InterpolationPrepare(1000));
    EXPECT_FALSE(plugin.InterpolationPrepare(1000));  // the change was taken over
}

}  // namespace
