// The editor's active-preset operations, on the user interface thread: a
// slot switch (store the current settings, load the other slot's), opening
// ABCD morphing (reading four slots through a private instance) and one
// move of the morph point.
#include <benchmark/benchmark.h>

#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "plugin/presets/KActivePresetMorph.h"

namespace {

void BM_ActivePresetSwitch(benchmark::State& state) {
    auto plugin = KCreatePluginObject();
    plugin->InitProcessing();
    int slot = 0;
    for (auto _ : state) {
        slot ^= 1;
        plugin->RequestActivePreset(slot);
        plugin->ApplyActivePresetRequest();
    }
}
BENCHMARK(BM_ActivePresetSwitch)->Unit(benchmark::kMillisecond);

void BM_MorphOpen(benchmark::State& state) {
    auto plugin = KCreatePluginObject();
    plugin->InitProcessing();
    for (auto _ : state) KActivePresetMorph morph(*plugin);
}
BENCHMARK(BM_MorphOpen)->Unit(benchmark::kMillisecond);

// Every record parameter differs between the corners, so each move sets
// them all.
void BM_MorphMove(benchmark::State& state) {
    auto plugin = KCreatePluginObject();
    plugin->InitProcessing();
    for (int slot = 0; slot < KActivePresetMorph::kCorners; ++slot) {
        plugin->RequestActivePreset(slot);
        plugin->ApplyActivePresetRequest();
        for (int i = 0; i < 11; ++i) plugin->SetParameter(i, 0.2 * slot + 0.1);
    }
    KActivePresetMorph morph(*plugin);
    double x = 0;
    for (auto _ : state) {
        x = x > 0.5 ? 0.1 : 0.9;
        morph.MoveTo(x, 1 - x);
    }
}
BENCHMARK(BM_MorphMove)->Unit(benchmark::kMicrosecond);

}  // namespace
