#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

namespace {

using Effect = HalvaneAudioEffectPlugin;
constexpr double kRate = 48000;
constexpr int kBlock = 512;
const int kFrequency0 = Effect::RecordOf(0, Effect::kFrequency);
const int kFrequency1 = Effect::RecordOf(1, Effect::kFrequency);

struct Instance {
    Instance() {
        adapter.Initialize(&HalvaneAudioEffectPluginInterface);
        adapter.SetSampleRate(kRate);
        adapter.SetMaxBlockSize(kBlock);
        adapter.SetParameter(Effect::RecordOf(1, Effect::kEnable), 1.0);
        adapter.InitProcessing();
    }
    // A block of a 330 Hz sine from sample `start`; answers the left output.
    std::vector<float> Render(int start) {
        std::vector<float> left(kBlock), right(kBlock);
        for (int s = 0; s < kBlock; ++s)
            left[std::size_t(s)] = right[std::size_t(s)] =
                float(0.5 * std::sin(2 * std::numbers::pi * 330 * (start + s) / kRate));
        float* channels[] = {left.data(), right.data()};
        adapter.ProcessBlock(channels, channels, kBlock, true);
        return left;
    }
    KAudioEffectPluginToAudioPluginAdapter adapter;
};

// One multiparameter sweeping both oscillators' frequencies, oscillator 1
// upwards from 0.3 to 0.7 of its range and oscillator 2 downwards from 0.9
// to 0.5: at position x they stand at 0.3 + 0.4 x and 0.9 - 0.4 x.
TEST(MultiParameterRender, DrivingBothFrequenciesSoundsLikeSettingThemDirectly) {
    Instance driven, direct;
    KMultiParameter& multi = driven.adapter.MultiParameters()[0];
    const struct {
        int target;
        double from, to;
    } sweeps[] = {{kFrequency0, 0.3, 0.7}, {kFrequency1, 0.9, 0.5}};
    for (const auto& sweep : sweeps) {
        const int entry = multi.AddEntry(sweep.target);
        multi.EditEntry(entry, [&](KMultiParameterParameter& e) {
            e.range = {.value = sweep.from, .maxValue = sweep.to, .mode = KRangeMode::Interval};
        });
    }
    const int position = driven.adapter.FindParameter("MultiParameter1");

    double difference = 0, change = 0;
    int start = 0;
    for (double x : {0.25, 0.75, 0.5}) {
        driven.adapter.SetParameter(position, x);
        direct.adapter.SetParameter(kFrequency0, 0.3 + 0.4 * x);
        direct.adapter.SetParameter(kFrequency1, 0.9 - 0.4 * x);
        for (int b = 0; b < 8; ++b, start += kBlock) {
            const std::vector<float> a = driven.Render(start), d = direct.Render(start);
            for (int s = 0; s < kBlock; ++s) {
                difference = std::max(difference, double(std::fabs(a[std::size_t(s)] - d[std::size_t(s)])));
                change = std::max(change, double(std::fabs(a[std::size_t(s)] - a[0])));
            }
        }
    }
    EXPECT_GT(change, 0.1);  // it did render something
    EXPECT_LT(difference, 1e-6);
    EXPECT_NEAR(driven.adapter.GetParameter(kFrequency0), 0.5, 1e-12);
    EXPECT_NEAR(driven.adapter.GetParameter(kFrequency1), 0.7, 1e-12);
}

}  // namespace
