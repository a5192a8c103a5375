#include <benchmark/benchmark.h>

#include <memory>

#include "GeneratorSettings.h"

namespace {

using Control = KSignalGenerator::Control;

// Smoothness 0.3 (77 taps a side) takes the FFT path.
std::unique_ptr<KSignalGenerator> EverythingOn(double smoothness) {
    auto g = std::make_unique<KSignalGenerator>();
    SetEverythingOn(*g, smoothness);
    g->UpdateIfChanged();
    return g;
}

void NormalRebuildEverythingOn(benchmark::State& state) {
    auto g = EverythingOn(state.range(0) / 100.0);
    for (auto _ : state) {
        g->Rebuild();
        benchmark::DoNotOptimize(g->Table()[100]);
    }
}
// Smoothness 0.1 convolves directly (26 taps a side), 0.3 and 1 through the FFT.
BENCHMARK(NormalRebuildEverythingOn)->Arg(10)->Arg(30)->Arg(100)->Unit(benchmark::kMicrosecond);

// Regeneration of all 256 harmonics with every post-processor, then the
// inverse FFT, as UpdateIfChanged runs it after a generator control changed.
void HarmonicsRebuildAllPostProcessors(benchmark::State& state) {
    auto g = std::make_unique<KSignalGenerator>();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->SetHarmonicCount(256);
    g->Set(Control::Sharpen, 0.3);
    g->Set(Control::Noise, 0.2);
    g->Set(Control::Clean, 0.1);
    g->Set(Control::Compress, 0.4);
    g->Set(Control::Harmonize, 0.5);
    double harmonicity = 0;
    for (auto _ : state) {
        harmonicity = harmonicity > 0.5 ? -0.5 : harmonicity + 0.01;
        g->Set(Control::Harmonicity, harmonicity);
        g->UpdateIfChanged();
        benchmark::DoNotOptimize(g->Table()[100]);
    }
}
BENCHMARK(HarmonicsRebuildAllPostProcessors)->Unit(benchmark::kMicrosecond);

void SampleReads(benchmark::State& state) {
    auto g = std::make_unique<KSignalGenerator>();
    double phase = 0;
    const double increment = 440.0 / 44100.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g->Sample(phase));
        phase += increment;
    }
}
BENCHMARK(SampleReads);

}  // namespace
