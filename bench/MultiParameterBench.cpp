#include <benchmark/benchmark.h>

#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

namespace {

constexpr double kRate = 48000;
constexpr int kFrames = 512;

struct DrivenPlugin {
    // Multiparameter 1 drives `entries` parameters: depth, frequency and
    // phase of both oscillators in turn.
    explicit DrivenPlugin(int entries) {
        plugin.Initialize(&HalvaneAudioEffectPluginInterface);
        plugin.SetSampleRate(kRate);
        plugin.SetMaxBlockSize(kFrames);
        plugin.SetParameter(HalvaneAudioEffectPlugin::RecordOf(1, HalvaneAudioEffectPlugin::kEnable), 1.0);
        plugin.InitProcessing();
        const HalvaneAudioEffectPlugin::OscillatorRecord records[] = {
            HalvaneAudioEffectPlugin::kDepth, HalvaneAudioEffectPlugin::kFrequency, HalvaneAudioEffectPlugin::kPhase};
        for (int i = 0; i < entries; ++i)
            Multi().AddEntry(HalvaneAudioEffectPlugin::RecordOf(i % 2, records[(i / 2) % 3]));
        position = plugin.FindParameter("MultiParameter1");
    }
    KMultiParameter& Multi() { return plugin.MultiParameters()[0]; }
    void Block() {
        float* channels[] = {left.data(), right.data()};
        plugin.ProcessBlock(channels, channels, kFrames, true);
    }

    KAudioEffectPluginToAudioPluginAdapter plugin;
    int position = -1;
    std::vector<float> left = std::vector<float>(kFrames, 0.25f), right = std::vector<float>(kFrames, -0.25f);
};

// One host automation event of the position: every entry's target set.
void BM_MultiParameterApply(benchmark::State& state) {
    DrivenPlugin driven(int(state.range(0)));
    double x = 0;
    for (auto _ : state) {
        x = x > 0.99 ? 0 : x + 0.01;
        driven.plugin.SetParameter(driven.position, x);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MultiParameterApply)->Arg(1)->Arg(6)->Arg(16);

// A host block of 512 frames with six entries, the multiparameter at rest
// (0) or running a switch ramp (1): the ramp adds its step, the targets'
// gliding and the cut into pieces of "MaxLFOBlockSize". The switch is
// flipped every block, so the ramp (0.1 s, about a tenth of the way per
// block) runs back and forth and never comes to rest.
void BM_MultiParameterHostBlock(benchmark::State& state) {
    DrivenPlugin driven(6);
    const bool ramping = state.range(0) != 0;
    if (ramping) {
        driven.Multi().SetMode(KMultiParameterMode::Switch);
        driven.Multi().SetSwitchTime(0.1);
    }
    bool on = false;
    for (auto _ : state) {
        if (ramping) driven.Multi().SetSliderValue((on = !on) ? 1 : 0, true);
        driven.Block();
        benchmark::DoNotOptimize(driven.left.data());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_MultiParameterHostBlock)->Arg(0)->Arg(1);

}  // namespace
