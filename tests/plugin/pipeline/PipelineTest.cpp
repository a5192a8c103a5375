#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "plugin/pipeline/PipelineTestSupport.h"
#include "plugin/pipeline/KChannelModes.h"
#include "support/SilentHost.h"

namespace {

using namespace pipeline_test;

// The 1e-15 added to every input sample is far below this.
constexpr double kTolerance = 1e-6;

struct Stereo {
    double left, right;
};

// What each channel mode must produce from (L, R) around an effect that
// scales its first channel by 2 and its second by 3 (mid/side coded as
// M = (L + R) / 2, S = (L - R) / 2, decoded as L = M + S, R = M - S).
Stereo ModeReference(int mode, double l, double r) {
    const double m = (l + r) / 2, s = (l - r) / 2;
    switch (mode) {
        case 1: return {2 * l, r};
        case 2: return {l, 2 * r};
        case 3: return {2 * m + s, 2 * m - s};
        case 4: return {m + 2 * s, m - 2 * s};
        case 5: return {2 * m + 3 * s, 2 * m - 3 * s};
        case 6: return {2 * l, -3 * r};
        default: return {2 * l, 3 * r};  // 0 and 7: both channels as they are
    }
}

struct PipelineFixture : ::testing::Test {
    TestPlugin plugin;
};

TEST(PipelineModes, EveryModeMatchesTheMidSideReferenceWithSeparateAndInPlaceBuffers) {
    for (int mode = 0; mode < KChannelModes::kCount; ++mode)
        for (bool inPlace : {false, true}) {
            TestPlugin plugin;
            plugin.SetChannelMode(mode);  // runs the set-up
            ASSERT_EQ(plugin.ChannelModeInForce(), mode);
            const int n = 64;
            HostBuffers in(2, n), out(2, n);
            FillTestSignal(in);
            const HostBuffers original = in;
            float** outputs = inPlace ? in.Pointers() : out.Pointers();
            plugin.ProcessBlock(in.Pointers(), outputs, n, true);
            for (int s = 0; s < n; ++s) {
                const Stereo expected = ModeReference(mode, original.data[0][s], original.data[1][s]);
                ASSERT_NEAR(outputs[0][s], expected.left, kTolerance) << "mode " << mode << " sample " << s;
                ASSERT_NEAR(outputs[1][s], expected.right, kTolerance) << "mode " << mode << " sample " << s;
            }
            const std::size_t passCalls = mode >= 1 && mode <= 4 ? 1 : 0;
            ASSERT_EQ(plugin.passedThrough.size(), passCalls) << "mode " << mode;
            if (passCalls) {
                EXPECT_EQ(plugin.passedThrough[0].second, mode >= 3) << "mode " << mode;
            }
        }
}

TEST(PipelineModes, EffectChannelsAndMidSideFlagFollowTheMode) {
    const int channels[] = {2, 1, 1, 1, 1, 2, 2, 2};  // surround on a stereo bus: its two channels
    for (int mode = 0; mode < KChannelModes::kCount; ++mode) {
        TestPlugin plugin;
        plugin.SetChannelMode(mode);
        EXPECT_EQ(plugin.Effect().initChannels, channels[mode]) << mode;
        EXPECT_EQ(plugin.MidSide(), mode >= 3 && mode <= 5) << mode;
    }
}

TEST(PipelineModes, ModeSixLeavesTheRightChannelInverted) {
    TestPlugin plugin;
    plugin.Effect().sameForAllChannels = true;  // an identity effect
    plugin.SetChannelMode(KChannelModes::LeftRightNegative);
    HostBuffers in(2, 16), out(2, 16);
    FillTestSignal(in);
    const HostBuffers original = in;
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 16, true);
    for (int s = 0; s < 16; ++s) {
        EXPECT_NEAR(out[0][s], original.data[0][s], kTolerance);
        EXPECT_NEAR(out[1][s], -original.data[1][s], kTolerance);
    }
}

TEST(PipelineModes, AMonoHostBusInModeThreeIsProcessedWithoutCoding) {
    // One buffer for both channels, processed in place: coding would make
    // the side channel 0 and pass it on, the mid channel (the input)
    // would be scaled by 2.
    TestPlugin plugin;
    plugin.SetChannelMode(KChannelModes::Mid);
    HostBuffers mono(1, 32);
    FillTestSignal(mono);
    const std::vector<float> original = mono[0];
    float* pair[] = {mono[0].data(), mono[0].data()};
    plugin.ProcessBlock(pair, pair, 32, true);
    for (int s = 0; s < 32; ++s) EXPECT_NEAR(mono[0][s], 2 * original[std::size_t(s)], kTolerance);
    EXPECT_TRUE(plugin.passedThrough.empty());

    // A mono input bus with a stereo output: both outputs carry the result.
    plugin.SetHostChannels(1, 2);
    plugin.InitProcessing();
    HostBuffers out(2, 32);
    float* input[] = {mono[0].data(), nullptr};
    FillTestSignal(mono);
    plugin.ProcessBlock(input, out.Pointers(), 32, true);
    for (int s = 0; s < 32; ++s) {
        EXPECT_NEAR(out[0][s], 2 * original[std::size_t(s)], kTolerance);
        EXPECT_EQ(out[1][s], out[0][s]);
    }
}

TEST(PipelineModes, PassedOnChannelsAreDelayedByTheEffectLatency) {
    TestPlugin plugin;
    plugin.Effect().latency = 8;
    plugin.SetChannelMode(KChannelModes::Left);
    HostBuffers in(2, 40), out(2, 40);
    FillTestSignal(in);
    const HostBuffers original = in;
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 40, true);
    for (int s = 0; s < 40; ++s) {
        const double delayed = s < 8 ? 0 : original.data[1][std::size_t(s - 8)];
        EXPECT_NEAR(out[1][s], delayed, kTolerance) << s;
        EXPECT_NEAR(out[0][s], 2 * original.data[0][std::size_t(s)], kTolerance) << s;
    }
}

TEST(PipelineModes, InputMixingAddsTheUncodedInput) {
    TestPlugin plugin;
    plugin.SetProcessingTraits({.mixInputs = true});
    plugin.SetChannelMode(KChannelModes::Mid);
    HostBuffers in(2, 16), out(2, 16);
    FillTestSignal(in);
    const HostBuffers original = in;
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 16, true);
    for (int s = 0; s < 16; ++s) {
        const double l = original.data[0][s], r = original.data[1][s];
        const Stereo wet = ModeReference(KChannelModes::Mid, l, r);
        EXPECT_NEAR(out[0][s], wet.left + l, kTolerance);
        EXPECT_NEAR(out[1][s], wet.right + r, kTolerance);
    }
}

TEST(PipelineSurround, DisabledChannelsPassDryAndTheEffectSeesTheOthersPacked) {
    TestPlugin plugin;
    plugin.SetChannelsPerBus(8);
    plugin.SetHostChannels(8, 8);
    plugin.SetEffectChannels(8, 8);
    plugin.Effect().latency = 16;
    plugin.SetSurroundChannelEnabled(2, false);
    plugin.SetSurroundChannelEnabled(5, false);
    plugin.SetChannelMode(KChannelModes::Surround);
    EXPECT_EQ(plugin.Effect().initChannels, 6);

    HostBuffers in(8, 48), out(8, 48);
    FillTestSignal(in);
    const HostBuffers original = in;
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 48, true);
    // Enabled channels in order become the effect's channels 0 to 5.
    const int effectChannel[] = {0, 1, -1, 2, 3, -1, 4, 5};
    for (int c = 0; c < 8; ++c)
        for (int s = 0; s < 48; ++s) {
            const double x = original.data[std::size_t(c)][std::size_t(s)];
            const double expected = effectChannel[c] >= 0 ? x * (effectChannel[c] + 2)
                                    : s < 16              ? 0.0
                                                          : original.data[std::size_t(c)][std::size_t(s - 16)];
            ASSERT_NEAR(out[c][s], expected, kTolerance) << "channel " << c << " sample " << s;
        }
}

TEST(PipelineSurround, WithEveryChannelLeftOutAllPassDryAndTheEffectIsNotCalled) {
    for (bool inPlace : {false, true}) {
        TestPlugin plugin;
        plugin.SetChannelsPerBus(8);
        plugin.SetHostChannels(8, 8);
        plugin.SetEffectChannels(8, 8);
        for (int c = 0; c < 8; ++c) plugin.SetSurroundChannelEnabled(c, false);
        plugin.SetChannelMode(KChannelModes::Surround);
        HostBuffers in(8, 32), out(8, 32);
        FillTestSignal(in);
        const HostBuffers original = in;
        float** outputs = inPlace ? in.Pointers() : out.Pointers();
        plugin.ProcessBlock(in.Pointers(), outputs, 32, true);
        for (int c = 0; c < 8; ++c)
            for (int s = 0; s < 32; ++s)
                ASSERT_NEAR(outputs[c][s], original.data[std::size_t(c)][std::size_t(s)], kTolerance)
                    << "channel " << c << " sample " << s << (inPlace ? " in place" : "");
        EXPECT_TRUE(plugin.Effect().pieces.empty());
    }
}

// A 5.1 host on the eight-channel bus: the two channels it lacks repeat
// its last buffer and must not be packed in as channels of their own.
TEST(PipelineSurround, AHostWithSixChannelsGetsEachEnabledChannelProcessedOnce) {
    TestPlugin plugin;
    plugin.SetChannelsPerBus(8);
    plugin.SetHostChannels(6, 6);
    plugin.SetEffectChannels(8, 8);
    plugin.SetSurroundChannelEnabled(3, false);
    plugin.SetChannelMode(KChannelModes::Surround);
    EXPECT_EQ(plugin.Effect().initChannels, 5);

    HostBuffers in(6, 32), out(6, 32);
    FillTestSignal(in);
    const HostBuffers original = in;
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 32, true);
    const int effectChannel[] = {0, 1, 2, -1, 3, 4};
    for (int c = 0; c < 6; ++c)
        for (int s = 0; s < 32; ++s) {
            const double x = original.data[std::size_t(c)][std::size_t(s)];
            const double expected = effectChannel[c] >= 0 ? x * (effectChannel[c] + 2) : x;
            ASSERT_NEAR(out[c][s], expected, kTolerance) << "channel " << c << " sample " << s;
        }
}

TEST(PipelineBypass, OutputIsTheInputDelayedByTheLatency) {
    TestPlugin plugin;
    plugin.Effect().latency = 64;
    plugin.InitProcessing();
    ASSERT_EQ(plugin.GetLatency(), 64);
    plugin.SetBypass(true);
    std::vector<float> sent, received;
    for (int block = 0; block < 3; ++block) {
        HostBuffers in(2, 100), out(2, 100);
        FillTestSignal(in, block * 100);
        sent.insert(sent.end(), in[1].begin(), in[1].end());
        plugin.ProcessBlock(in.Pointers(), out.Pointers(), 100, true);
        received.insert(received.end(), out[1].begin(), out[1].end());
    }
    EXPECT_TRUE(plugin.Effect().pieces.empty());  // the effect is not called
    for (std::size_t s = 0; s < received.size(); ++s)
        ASSERT_NEAR(received[s], s < 64 ? 0.0f : sent[s - 64], kTolerance) << s;
}

TEST_F(PipelineFixture, AccumulatingHostsGetTheResultAddedToTheirBuffers) {
    HostBuffers in(2, 16), out(2, 16);
    FillTestSignal(in);
    const HostBuffers original = in;
    for (auto& channel : out.data) std::fill(channel.begin(), channel.end(), 1.0f);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 16, false);
    for (int s = 0; s < 16; ++s) {
        EXPECT_NEAR(out[0][s], 1 + 2 * original.data[0][s], kTolerance);
        EXPECT_NEAR(out[1][s], 1 + 3 * original.data[1][s], kTolerance);
    }
}

TEST_F(PipelineFixture, ABlockOfThousandSamplesIsCutIntoPiecesOfTheSubBlockLimit) {
    plugin.SetSampleRate(48000);
    plugin.InitProcessing();
    plugin.blockwise = true;  // a multiparameter asks for block-wise updates
    KTransportInfo& transport = plugin.Transport();
    transport.playing = true;
    transport.tempo = 120;
    transport.songPosition = 10;
    HostBuffers in(2, 1000), out(2, 1000);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 1000, true);
    EXPECT_EQ(plugin.Effect().pieces, (std::vector<int>{256, 256, 256, 232}));
    // 120 beats per minute at 48 kHz: 1 / 24000 beat per sample.
    ASSERT_EQ(plugin.piecePositions.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(plugin.piecePositions[std::size_t(i)], 10 + i * 256 / 24000.0);

    transport.playing = false;
    plugin.piecePositions.clear();
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 1000, true);
    for (double position : plugin.piecePositions) EXPECT_EQ(position, 0.0);

    plugin.blockwise = false;
    plugin.Effect().pieces.clear();
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 1000, true);
    EXPECT_EQ(plugin.Effect().pieces, (std::vector<int>{1000}));
}

TEST_F(PipelineFixture, BlocksLongerThanAnnouncedAreServedInPieces) {
    const int n = 2500;  // the maximum block size is 1024
    HostBuffers in(2, n), out(2, n);
    FillTestSignal(in);
    const HostBuffers original = in;
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), n, true);
    EXPECT_EQ(plugin.Effect().pieces, (std::vector<int>{1024, 1024, 452}));
    for (int s = 0; s < n; ++s) ASSERT_NEAR(out[1][s], 3 * original.data[1][s], kTolerance);
}

TEST_F(PipelineFixture, MissingBuffersAreRepairedAndBadCallsAreHarmless) {
    HostBuffers out(2, 8);
    float* noInputs[] = {nullptr, nullptr};
    plugin.ProcessBlock(noInputs, out.Pointers(), 8, true);
    for (int s = 0; s < 8; ++s) EXPECT_NEAR(out[0][s], 0.0, kTolerance);  // silent scratch input
    float* noOutputs[] = {nullptr, nullptr};
    HostBuffers in(2, 8);
    plugin.ProcessBlock(in.Pointers(), noOutputs, 8, true);  // scratch outputs
    plugin.ProcessBlock(in.Pointers(), nullptr, 8, true);
    plugin.ProcessBlock(nullptr, out.Pointers(), 8, true);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 0, true);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), -5, true);
    EXPECT_EQ(plugin.Effect().pieces.size(), 3u);
}

TEST(PipelineLocking, ABlockBeforeTheFirstSetUpIsSilent) {
    TestPlugin plugin(false);
    HostBuffers in(2, 8), out(2, 8);
    FillTestSignal(in);
    for (auto& channel : out.data) std::fill(channel.begin(), channel.end(), 7.0f);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 8, true);
    for (int c = 0; c < 2; ++c)
        for (float y : out[c]) EXPECT_EQ(y, 0.0f);
    EXPECT_TRUE(plugin.Effect().pieces.empty());
}

TEST_F(PipelineFixture, ABusyPluginLockSkipsTheBlock) {
    std::atomic<bool> held{false}, done{false};
    std::thread holder([&] {
        KScopedLock lock(plugin.PluginLock());
        held = true;
        while (!done) std::this_thread::yield();
    });
    while (!held) std::this_thread::yield();

    HostBuffers in(2, 8), out(2, 8);
    FillTestSignal(in);
    for (auto& channel : out.data) std::fill(channel.begin(), channel.end(), 7.0f);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 8, false);  // accumulating: left as it was
    EXPECT_EQ(out[0][3], 7.0f);
    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 8, true);  // replacing: silence
    EXPECT_EQ(out[0][3], 0.0f);
    EXPECT_EQ(out[1][7], 0.0f);
    done = true;
    holder.join();
    EXPECT_TRUE(plugin.Effect().pieces.empty());

    plugin.ProcessBlock(in.Pointers(), out.Pointers(), 8, true);
    EXPECT_EQ(plugin.Effect().pieces.size(), 1u);
}

struct LatencyCounter final : SilentHost {
    void ReportLatency() override { ++reports; }
    int reports = 0;
};

TEST_F(PipelineFixture, LatencyIsReportedOnlyWhenItChanges) {
    LatencyCounter host;
    plugin.SetHostAdapter(&host);
    plugin.InitProcessing();
    EXPECT_EQ(host.reports, 0);  // still 0

    plugin.Effect().latency = 100;
    plugin.InitProcessing();
    EXPECT_EQ(plugin.GetLatency(), 100);
    EXPECT_EQ(host.reports, 1);
    plugin.InitProcessing();
    EXPECT_EQ(host.reports, 1);

    // Effect latency counts at the internal rate: 100 / 4 = 25 host samples,
    // plus 1536 / 4 = 384 of the high-quality filters.
    plugin.SetHighQualityUpsampling(true);
    plugin.SetUpsamplingFactor(4);
    EXPECT_EQ(plugin.GetLatency(), 25 + 384);
    EXPECT_DOUBLE_EQ(plugin.InternalSampleRate(), 4 * 44100.0);
    EXPECT_DOUBLE_EQ(plugin.Effect().initRate, 4 * 44100.0);
    plugin.SetLongUpsamplingFilter(true);
    EXPECT_EQ(plugin.GetLatency(), 25 + 6144 / 4);
    plugin.SetHighQualityUpsampling(false);
    EXPECT_EQ(plugin.GetLatency(), 25);
    EXPECT_EQ(host.reports, 4);
    plugin.SetUpsamplingFactor(3);  // not offered: off
    EXPECT_EQ(plugin.PipelineSettings().upsampling, 1);
    plugin.SetHostAdapter(nullptr);
}

TEST(ChannelModeNames, StoredAndShownNamesDifferForTheMidSideModes) {
    EXPECT_STREQ(KChannelModes::StoredNames()[3], "Mono");
    EXPECT_STREQ(KChannelModes::StoredNames()[5], "Mono + Stereo");
    EXPECT_STREQ(KChannelModes::DisplayNames()[4], "Side");
    EXPECT_EQ(KChannelModes::FindByName("stereo"), 4);
    EXPECT_EQ(KChannelModes::FindByName("Mid + Side"), 5);
    EXPECT_EQ(KChannelModes::FindByName("Quad"), -1);
    EXPECT_STREQ(KChannelModes::Describe(99).name, "Left + Right");
}

}  // namespace
