#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plugin/pipeline/PipelineTestSupport.h"
#include "plugin/pipeline/KAutomaticGainControl.h"
#include "plugin/pipeline/KKWeightingFilter.h"

namespace {

using namespace pipeline_test;

TEST(KWeighting, MatchesTheStandardsCoefficientsAt48kHz) {
    // ITU-R BS.1770-4, tables 1 and 2.
    KKWeightingFilter filter;
    filter.Initialize(48000);
    const auto& shelf = filter.Shelf();
    EXPECT_NEAR(shelf.b0, 1.53512485958697, 1e-9);
    EXPECT_NEAR(shelf.b1, -2.69169618940638, 1e-9);
    EXPECT_NEAR(shelf.b2, 1.19839281085285, 1e-9);
    EXPECT_NEAR(shelf.a1, -1.69065929318241, 1e-9);
    EXPECT_NEAR(shelf.a2, 0.73248077421585, 1e-9);
    const auto& highPass = filter.HighPass();
    EXPECT_EQ(highPass.b0, 1.0);
    EXPECT_EQ(highPass.b1, -2.0);
    EXPECT_EQ(highPass.b2, 1.0);
    EXPECT_NEAR(highPass.a1, -1.99004745483398, 1e-9);
    EXPECT_NEAR(highPass.a2, 0.99007225036621, 1e-9);
}

struct GainControlFixture : ::testing::Test {
    GainControlFixture() {
        plugin.SetSampleRate(48000);
        plugin.Effect().sameForAllChannels = true;
        plugin.SetAutomaticGainControl(true);
    }
    // Runs `seconds` of noise in blocks of 480; answers the input and
    // output power of the last half second.
    std::pair<double, double> RunNoise(double seconds) {
        const int blocks = int(seconds * 100);
        double inPower = 0, outPower = 0;
        for (int b = 0; b < blocks; ++b) {
            HostBuffers in(2, 480), out(2, 480);
            for (int s = 0; s < 480; ++s) in[0][std::size_t(s)] = in[1][std::size_t(s)] = noise.Next();
            const HostBuffers original = in;
            plugin.ProcessBlock(in.Pointers(), out.Pointers(), 480, true);
            if (b < blocks - 50) continue;
            for (int s = 0; s < 480; ++s) {
                inPower += double(original.data[0][std::size_t(s)]) * original.data[0][std::size_t(s)];
                outPower += double(out[0][s]) * out[0][s];
            }
        }
        return {inPower, outPower};
    }
    TestPlugin plugin;
    Noise noise;
};

TEST_F(GainControlFixture, ASilentOutputTargetsGainOne) {
    plugin.SetParameter(ScalingEffect::kGain, 0.0);
    RunNoise(0.1);
    EXPECT_EQ(plugin.Pipeline().GainControl().Gain(), 1.0);
}

TEST_F(GainControlFixture, NoiseConvergesToEqualLoudness) {
    plugin.SetParameter(ScalingEffect::kGain, 0.25);  // the effect halves the level
    RunNoise(1.0);
    EXPECT_EQ(plugin.Pipeline().GainControl().Gain(), 1.0);  // start-up: no gain above 1 for two seconds
    const auto [in, out] = RunNoise(3.0);
    // Both sides see the same K-weighted noise, 6 dB apart: the gain is 2.
    EXPECT_NEAR(plugin.Pipeline().GainControl().Gain(), 2.0, 0.02);
    EXPECT_NEAR(10 * std::log10(out / in), 0.0, 0.1);
}

TEST_F(GainControlFixture, TheFirstBlockFadesInFromSilence) {
    HostBuffers in(2, 100), out(2, 100);
    for (auto& channel : in.data) std::fill(channel.begin(), channel.end(), 0.5f);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 100, true);
    // The gain ramps from 0 to 1 (equal loudness) in steps of 1 / 100.
    EXPECT_NEAR(out[0][0], 0.5 * 0.01, 1e-6);
    EXPECT_NEAR(out[0][49], 0.5 * 0.5, 1e-6);
    EXPECT_NEAR(out[0][99], 0.5, 1e-6);
}

// The input is measured as late as the output: an impulse over steady quiet
// noise enters both meters together, and the gain stays near 1 across it.
// Measured early or late by the high-quality filters' 768 samples, the
// impulse's power (0.25) would stand for that long beside about 0.0064 of
// noise (19200 samples of 0.001^2 / 3) on one side only, and the gain would
// reach sqrt(0.2564 / 0.0064) = 6.3 or its inverse, 0.16.
TEST_F(GainControlFixture, AnImpulseOverNoiseLeavesAtTheLatencyWithTheGainNearOne) {
    plugin.SetHighQualityUpsampling(true);
    plugin.SetUpsamplingFactor(2);
    const int latency = plugin.GetLatency();
    ASSERT_EQ(latency, 768);
    constexpr int kBlock = 32;
    const int impulseAt = 3 * 48000;  // past the two seconds of start-up
    int loudest = -1;
    float peak = 0;
    double lowestGain = 1, highestGain = 1;
    for (int start = 0; start < impulseAt + 2 * latency; start += kBlock) {
        HostBuffers in(2, kBlock), out(2, kBlock);
        for (int s = 0; s < kBlock; ++s) {
            const float sample = 0.001f * noise.Next() + (start + s == impulseAt ? 0.5f : 0.0f);
            in[0][std::size_t(s)] = in[1][std::size_t(s)] = sample;
        }
        plugin.ProcessBlock(in.Pointers(), out.Pointers(), kBlock, true);
        for (int s = 0; s < kBlock; ++s)
            if (std::fabs(out[0][s]) > peak) peak = std::fabs(out[0][s]), loudest = start + s;
        if (start < impulseAt - latency) continue;
        lowestGain = std::min(lowestGain, plugin.Pipeline().GainControl().Gain());
        highestGain = std::max(highestGain, plugin.Pipeline().GainControl().Gain());
    }
    EXPECT_EQ(loudest, impulseAt + latency);
    EXPECT_GT(lowestGain, 0.9);
    EXPECT_LT(highestGain, 1.1);
}

// Measures one block of `input` against an output of quiet noise and
// answers the gain the block ramped to.
double MeasureBlock(KAutomaticGainControl& control, Noise& noise, float input) {
    std::vector<float> in(64, input), out(64);
    for (float& sample : out) sample = 0.01f * noise.Next();
    float* inputs[1] = {in.data()};
    float* outputs[1] = {out.data()};
    control.MeasureInput(inputs, 1, 64);
    control.Correct(outputs, 1, 64);
    return control.Gain();
}

// The running sums of the meters are kept by adding and subtracting, so
// rounding can leave an input that has fallen silent with a power just
// below 0; the output still sounds, and the gain must stay a number.
TEST(AutomaticGainControl, AnInputFallingSilentAfterNoiseKeepsTheGainFinite) {
    KAutomaticGainControl control;
    control.Initialize(44100, 0);
    Noise noise;
    std::vector<float> loud(64);
    for (int block = 0; block < 600; ++block) {
        for (float& sample : loud) sample = noise.Next();
        float* inputs[1] = {loud.data()};
        control.MeasureInput(inputs, 1, 64);
        std::vector<float> out(loud);
        float* outputs[1] = {out.data()};
        control.Correct(outputs, 1, 64);
    }
    for (int block = 0; block < 1400; ++block)
        ASSERT_TRUE(std::isfinite(MeasureBlock(control, noise, 0.0f))) << "block " << block;
    // Silent input against a sounding output: the smallest gain.
    EXPECT_EQ(control.Gain(), 0.01);
}

// A host block of samples that are not numbers must not leave the
// measurement unusable for the blocks after it.
TEST(AutomaticGainControl, RecoversFromAnInputThatIsNotANumber) {
    KAutomaticGainControl control;
    control.Initialize(44100, 0);
    Noise noise;
    MeasureBlock(control, noise, std::numeric_limits<float>::quiet_NaN());
    MeasureBlock(control, noise, std::numeric_limits<float>::infinity());
    for (int block = 0; block < 20; ++block) ASSERT_TRUE(std::isfinite(MeasureBlock(control, noise, 0.01f)));
}

}  // namespace
