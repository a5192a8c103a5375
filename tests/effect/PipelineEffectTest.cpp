#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/pipeline/KChannelModes.h"
#include "support/AllocationCounter.h"

namespace {

using Effect = HalvaneAudioEffectPlugin;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kRate = 48000;
constexpr int kBlock = 480;

struct RingModulatorPlugin {
    RingModulatorPlugin() {
        adapter.Initialize(&HalvaneAudioEffectPluginInterface);
        adapter.SetSampleRate(kRate);
        adapter.SetMaxBlockSize(1024);
    }
    KParameterRecord& Record(int index) { return adapter.Effect()->Record(index); }
    KAudioEffectPluginToAudioPluginAdapter adapter;
};

// Amplitude of the component at `frequency` of a Blackman-Harris windowed
// signal (side lobes below -92 dB), scaled so that a sine of amplitude A
// gives A.
double Amplitude(const std::vector<double>& signal, double frequency) {
    const std::size_t n = signal.size();
    double re = 0, im = 0, gain = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = kTwoPi * double(i) / double(n - 1);
        const double w = 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
        re += w * signal[i] * std::cos(kTwoPi * frequency * double(i) / kRate);
        im += w * signal[i] * std::sin(kTwoPi * frequency * double(i) / kRate);
        gain += w;
    }
    return 2 * std::hypot(re, im) / gain;
}

// A 10 kHz sine ring-modulated at 15 kHz gives 5 kHz and 25 kHz; at 48 kHz
// the 25 kHz product aliases to 23 kHz unless it is produced at a higher
// rate and filtered away.
double AliasAmplitude(int factor, bool highQuality) {
    RingModulatorPlugin plugin;
    plugin.Record(Effect::RecordOf(0, Effect::kFrequency)).floating.value = std::log10(15000.0);
    plugin.adapter.SetHighQualityUpsampling(highQuality);
    plugin.adapter.SetUpsamplingFactor(factor);
    plugin.adapter.InitProcessing();

    std::vector<double> output;
    const int blocks = 30;
    for (int b = 0; b < blocks; ++b) {
        std::vector<float> left(kBlock), right(kBlock);
        for (int s = 0; s < kBlock; ++s)
            left[std::size_t(s)] = right[std::size_t(s)] = float(0.5 * std::sin(kTwoPi * 10000 * (b * kBlock + s) / kRate));
        float* channels[] = {left.data(), right.data()};
        plugin.adapter.ProcessBlock(channels, channels, kBlock, true);
        if (b >= blocks - 10) output.insert(output.end(), left.begin(), left.end());  // past the filter delay
    }
    EXPECT_NEAR(Amplitude(output, 5000), 0.25, 0.01);  // the wanted product
    return Amplitude(output, 23000);
}

TEST(PipelineWithRingModulator, FourTimesHighQualityUpsamplingAliasesAtLeast60dBLess) {
    const double direct = AliasAmplitude(1, false);
    const double upsampled = AliasAmplitude(4, true);
    EXPECT_NEAR(direct, 0.25, 0.01);
    EXPECT_GT(20 * std::log10(direct / upsampled), 60);
}

// Blocks after the first two (which may meet first-use work in the effect)
// allocate nothing, whatever the mode and factor, with interpolated
// parameter changes, gain compensation and bypass switches in between.
TEST(PipelineWithRingModulator, SteadyStateAllocatesNothingInAnyModeOrFactor) {
    for (int mode = 0; mode < KChannelModes::kCount; ++mode)
        for (int factor : {1, 2, 4, 8})
            for (bool highQuality : {false, true}) {
                if (factor == 1 && highQuality) continue;
                RingModulatorPlugin plugin;
                KAudioEffectPluginToAudioPluginAdapter& adapter = plugin.adapter;
                adapter.SetChannelMode(mode);
                adapter.SetAutomaticGainControl(true);
                adapter.SetHighQualityUpsampling(highQuality);
                adapter.SetUpsamplingFactor(factor);
                adapter.SetSurroundChannelEnabled(1, false);
                adapter.InitProcessing();
                std::vector<float> left(1024, 0.25f), right(1024, -0.25f), outLeft(1024), outRight(1024);
                float* inputs[] = {left.data(), right.data()};
                float* outputs[] = {outLeft.data(), outRight.data()};
                for (int b = 0; b < 2; ++b) adapter.ProcessBlock(inputs, outputs, 1024, true);

                const std::size_t before = AllocationCounter::Count();
                for (int b = 0; b < 6; ++b) {
                    adapter.SetParameter(Effect::RecordOf(0, Effect::kFrequency), 0.2 + 0.1 * b);
                    adapter.SetBypass(b == 3);
                    adapter.ProcessBlock(inputs, outputs, 1024, b % 2 == 0);
                }
                EXPECT_EQ(AllocationCounter::Count() - before, 0u)
                    << "mode " << mode << " factor " << factor << (highQuality ? " high quality" : "");
            }
}

}  // namespace
