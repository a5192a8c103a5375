// Saving and loading a whole plug-in state, as a host does on the user
// interface thread (project save, undo, preset switch).
#include <benchmark/benchmark.h>

#include <malloc.h>

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

// A user's state at its busiest: every multiparameter drives sixteen
// parameters and every controller slot one, and loading finds each of them
// again by its stored identifier.
void BM_StateLoadAssigned(benchmark::State& state) {
    auto plugin = KCreatePluginObject();
    const int count = plugin->GetParameterCount();
    const int entries = 4 * KMultiParameter::kMaxEntries;
    for (int e = 0; e < entries; ++e)
        plugin->MultiParameters()[e % 4].AddEntry(e * count / entries);  // spread over the whole list
    for (int slot = 0; slot < KMIDIControllers::kSlotCount; ++slot)
        plugin->MIDIControllers().AddController(0, slot + 1, count - 1 - slot);
    KMemoryStream block = KStateBlock::Save(*plugin);
    for (auto _ : state) {
        const std::unique_ptr<KXMLDocument> document = KStateBlock::Parse(block.Data(), int(block.Size()));
        KStateBlock::Load(*plugin, *document);
    }
}
BENCHMARK(BM_StateLoadAssigned)->Unit(benchmark::kMillisecond);

// A new instance fills its eight active-preset slots from its defaults;
// the heap one instance holds is reported.
void BM_PluginCreation(benchmark::State& state) {
    const std::size_t before = mallinfo2().uordblks;
    auto kept = KCreatePluginObject();
    state.counters["instance_bytes"] = double(mallinfo2().uordblks - before);
    for (auto _ : state) benchmark::DoNotOptimize(KCreatePluginObject());
}
BENCHMARK(BM_PluginCreation)->Unit(benchmark::kMillisecond);

}  // namespace
