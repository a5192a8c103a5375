// No denormal number leaves the pipeline: when the effect falls silent
// after loud material, the state of the up- and down-sampling filters
// decays towards zero and must not hand the host denormal samples on its
// way there.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plugin/pipeline/PipelineTestSupport.h"

namespace {

using namespace pipeline_test;

bool Denormal(float sample) { return sample != 0 && std::fabs(sample) < std::numeric_limits<float>::min(); }

void ExpectNoDenormalAfterSilence(int factor, bool highQuality) {
    TestPlugin plugin(false);
    plugin.SetSampleRate(48000);
    plugin.Effect().sameForAllChannels = true;
    plugin.SetUpsamplingFactor(factor);
    plugin.SetHighQualityUpsampling(highQuality);
    plugin.InitProcessing();
    Noise noise;
    // A tenth of a second of noise, then the effect multiplies by 0 for
    // ten seconds: far longer than any filter takes to decay below 1e-38.
    for (int block = 0; block < 1010; ++block) {
        if (block == 10) plugin.SetParameter(ScalingEffect::kGain, 0.0);
        HostBuffers in(2, 480), out(2, 480);
        for (int s = 0; s < 480; ++s) in[0][std::size_t(s)] = in[1][std::size_t(s)] = noise.Next();
        plugin.ProcessBlock(in.Pointers(), out.Pointers(), 480, true);
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < 480; ++s)
                ASSERT_FALSE(Denormal(out[c][s])) << "factor " << factor << ", block " << block << ", channel " << c
                                                  << ", sample " << s << ": " << out[c][s];
    }
}

// An effect may itself make a number too small for a normal float: here
// the silent input's 1e-15 scaled by 1e-25 gives 1e-40. Whatever the
// effect's arithmetic, such a number leaves the plug-in as 0.
TEST(PipelineDenormals, AnEffectResultBelowTheSmallestNormalLeavesAsZero) {
    for (int factor : {1, 2}) {
        TestPlugin plugin(false);
        plugin.SetSampleRate(48000);
        plugin.SetUpsamplingFactor(factor);
        plugin.InitProcessing();
        plugin.Effect().sameForAllChannels = true;
        plugin.SetParameter(ScalingEffect::kGain, 0.5e-25);  // 0 + 2 * 0.5e-25 = 1e-25
        for (int block = 0; block < 20; ++block) {
            HostBuffers in(2, 480), out(2, 480);
            plugin.ProcessBlock(in.Pointers(), out.Pointers(), 480, true);
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 480; ++s)
                    ASSERT_FALSE(Denormal(out[c][s])) << "factor " << factor << ", block " << block << ", channel "
                                                      << c << ", sample " << s << ": " << out[c][s];
        }
    }
}

TEST(PipelineDenormals, DecayingUpsamplingFiltersStayNormal) {
    for (int factor : {2, 4, 8}) {
        ExpectNoDenormalAfterSilence(factor, false);
        ExpectNoDenormalAfterSilence(factor, true);
    }
}

}  // namespace
