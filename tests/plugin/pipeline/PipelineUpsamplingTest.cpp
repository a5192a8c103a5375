#include <gtest/gtest.h>

#include "plugin/pipeline/PipelineTestSupport.h"

namespace {

using namespace pipeline_test;

constexpr double kRate = 48000;
constexpr int kBlock = 512;

// An identity effect at `factor`, fed a 1 kHz sine of amplitude 0.5.
struct UpsampledRun {
    UpsampledRun(int factor, bool highQuality) {
        plugin.SetSampleRate(kRate);
        plugin.SetMaxBlockSize(kBlock);
        plugin.Effect().sameForAllChannels = true;
        plugin.SetHighQualityUpsampling(highQuality);
        plugin.SetUpsamplingFactor(factor);
    }
    static double Input(int s) { return 0.5 * std::sin(kTwoPi * 1000 * s / kRate); }
    // Runs `blocks` blocks; answers channel 0 of the output.
    std::vector<double> Output(int blocks) {
        std::vector<double> result;
        for (int b = 0; b < blocks; ++b) {
            HostBuffers in(2, kBlock), out(2, kBlock);
            for (int s = 0; s < kBlock; ++s) in[0][std::size_t(s)] = in[1][std::size_t(s)] = float(Input(b * kBlock + s));
            plugin.ProcessBlock(in.Pointers(), out.Pointers(), kBlock, true);
            result.insert(result.end(), out[0].begin(), out[0].end());
        }
        return result;
    }
    TestPlugin plugin;
};

double Decibels(double errorPower, double signalPower) { return 10 * std::log10(errorPower / signalPower); }

TEST(PipelineUpsampling, HighQualityReturnsTheInputDelayedByExactlyTheReportedLatency) {
    for (int factor : {2, 4, 8}) {
        UpsampledRun run(factor, true);
        const int latency = run.plugin.GetLatency();
        ASSERT_EQ(latency, 1536 / factor);
        const std::vector<double> out = run.Output(12);
        double error = 0, signal = 0;
        // From two filter lengths on, past the start-up transient.
        for (std::size_t s = 2 * std::size_t(latency) + 64; s < out.size(); ++s) {
            const double expected = UpsampledRun::Input(int(s) - latency);
            error += (out[s] - expected) * (out[s] - expected);
            signal += expected * expected;
        }
        EXPECT_LT(Decibels(error, signal), -80) << "factor " << factor;
    }
}

// What the ordinary filters leave of a 1 kHz sine once the best-fitting
// 1 kHz sine (any phase: their delay is not reported) is taken away.
TEST(PipelineUpsampling, OrdinaryFiltersAddNoLatencyAndKeepTheSineClean) {
    for (int factor : {2, 4, 8}) {
        UpsampledRun run(factor, false);
        EXPECT_EQ(run.plugin.GetLatency(), 0);
        const std::vector<double> out = run.Output(8);
        double c = 0, q = 0;
        const std::size_t start = 1024, end = start + 48 * 60;  // 60 whole periods
        for (std::size_t s = start; s < end; ++s) {
            c += out[s] * std::cos(kTwoPi * 1000 * double(s) / kRate);
            q += out[s] * std::sin(kTwoPi * 1000 * double(s) / kRate);
        }
        c *= 2.0 / double(end - start);
        q *= 2.0 / double(end - start);
        double residual = 0, signal = 0;
        for (std::size_t s = start; s < end; ++s) {
            const double fit = c * std::cos(kTwoPi * 1000 * double(s) / kRate) + q * std::sin(kTwoPi * 1000 * double(s) / kRate);
            residual += (out[s] - fit) * (out[s] - fit);
            signal += fit * fit;
        }
        EXPECT_NEAR(std::hypot(c, q), 0.5, 0.5e-3) << "factor " << factor;  // pass band within 0.01 dB
        EXPECT_LT(Decibels(residual, signal), -80) << "factor " << factor;
    }
}

TEST(PipelineUpsampling, TheOutputLimitClampsUpsampledOutput) {
    UpsampledRun run(2, false);
    run.plugin.outputLimit = 0.25;
    for (double y : run.Output(2)) ASSERT_LE(std::fabs(y), 0.25);
    run.plugin.outputLimit = -1;  // negative: no clamping
    bool above = false;
    for (double y : run.Output(2)) above = above || std::fabs(y) > 0.4;
    EXPECT_TRUE(above);
}

TEST(PipelineUpsampling, TheEffectRunsAtTheInternalRateOnFactorTimesTheSamples) {
    UpsampledRun run(4, false);
    EXPECT_DOUBLE_EQ(run.plugin.Effect().initRate, 4 * kRate);
    run.Output(1);
    EXPECT_EQ(run.plugin.Effect().pieces, (std::vector<int>{4 * kBlock}));
}

}  // namespace
