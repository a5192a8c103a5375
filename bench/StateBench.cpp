// Saving and loading a whole plug-in state, as a host does on the user
// interface thread (project save, undo, preset switch).
#include <benchmark/benchmark.h>

#include <memory>

#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "presets/state/KStateBlock.h"

namespace {

void BM_StateSave(benchmark::State& state) {
    auto plugin = KCreatePluginObject();
    for (auto _ : state) {
        KMemoryStream block = KStateBlock::Save(*plugin);
        benchmark::DoNotOptimize(block.Size());
    }
}
BENCHMARK(BM_StateSave)->Unit(benchmark::kMillisecond);

void BM_StateLoad(benchmark::State& state) {
    auto plugin = KCreatePluginObject();
    KMemoryStream block = KStateBlock::Save(*plugin);
    for (auto _ : state) {
        const std::unique_ptr<KXMLDocument> document = KStateBlock::Parse(block.Data(), int(block.Size()));
        KStateBlock::Load(*plugin, *document);
    }
}
BENCHMARK(BM_StateLoad)->Unit(benchmark::kMillisecond);

// A new instance fills its eight active-preset slots from its defaults.
void BM_PluginCreation(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(KCreatePluginObject());
}
BENCHMARK(BM_PluginCreation)->Unit(benchmark::kMillisecond);

}  // namespace
