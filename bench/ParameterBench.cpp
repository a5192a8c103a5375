#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

#include "hosts/common/KPluginCreation.h"
#include "plugin/parameters/KValueFrequency.h"

namespace {

// The host asks for the text of every visible parameter on every display
// refresh; these are the two kinds of float record with a display function.
void ParameterText(benchmark::State& state, int index) {
    const std::unique_ptr<KQuenlorAudioEffectPlugin> plugin = KCreatePluginObject();
    for (auto _ : state) {
        KString text = plugin->GetParameterValueName(index);
        benchmark::DoNotOptimize(text);
    }
}

// frequency0: log-frequency display ("50 Hz").
void BM_ParameterTextLogFrequency(benchmark::State& state) { ParameterText(state, 4); }
BENCHMARK(BM_ParameterTextLogFrequency);

// depth0: percent display ("100.0%").
void BM_ParameterTextPercent(benchmark::State& state) { ParameterText(state, 3); }
BENCHMARK(BM_ParameterTextPercent);

// The same text through a value object, as an editor control shows it.
void BM_ValueObjectTextFrequency(benchmark::State& state) {
    double hertz = 50;
    const KValueFrequency value(&hertz, 20, 20000);
    for (auto _ : state) {
        KString text = value.Text();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ValueObjectTextFrequency);

// Reading a typed frequency back.
void BM_ValueObjectParseFrequency(benchmark::State& state) {
    double hertz = 50;
    KValueFrequency value(&hertz, 20, 20000);
    const KString typed = "440 Hz";
    for (auto _ : state) {
        hertz = 50;
        benchmark::DoNotOptimize(value.Parse(typed));
    }
}
BENCHMARK(BM_ValueObjectParseFrequency);

// Finding a parameter by its stored identifier, as loading a multiparameter
// or controller assignment and opening the editor do for each control.
// The first look-up builds the lookup; its heap use is reported.
void BM_FindParameter(benchmark::State& state) {
    const std::unique_ptr<KQuenlorAudioEffectPlugin> plugin = KCreatePluginObject();
    const KString id = plugin->GetParameterID(plugin->GetParameterCount() - 1);
    const std::size_t before = mallinfo2().uordblks;
    benchmark::DoNotOptimize(plugin->FindParameter(id));
    state.counters["lookup_bytes"] = double(mallinfo2().uordblks - before);
    for (auto _ : state) benchmark::DoNotOptimize(plugin->FindParameter(id));
}
BENCHMARK(BM_FindParameter);

}  // namespace
