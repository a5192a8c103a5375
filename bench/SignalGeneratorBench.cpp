#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "signal/generator/KSignalGenerator.h"

namespace {

using Control = KSignalGenerator::Control;

// Every normal-mode source and operation on; smoothness 0.3 (77 taps a
// side) takes the FFT path.
std::unique_ptr<KSignalGenerator> EverythingOn(double smoothness) {
    auto g = std::make_unique<KSignalGenerator>();
    g->Set(Control::ShapePosition, 6.5);
    g->Set(Control::EnvelopeDepth, 0.3);
    g->Set(Control::StepDepth, 0.5);
    for (int k = 0; k < 8; ++k) g->SetStepType(k, 3 * k + 1);
    std::vector<float> custom(8192);
    for (int j = 0; j < 8192; ++j) custom[j] = float(j % 700) / 700.0f - 0.5f;
    g->SetCustomSample(custom.data());
    g->Set(Control::CustomSampleDepth, 0.25);
    g->Set(Control::Phase, 0.1);
    g->Set(Control::Skew, 0.4);
    g->Set(Control::FullSkew, -0.3);
    g->Set(Control::Halve, 0.2);
    for (int h = 0; h < KSignalGenerator::kShapeHarmonicCount; ++h) {
        g->SetShapeHarmonicLevel(h, 0.3 - 0.1 * h);
        g->SetShapeHarmonicPhase(h, 0.1 * h);
    }
    g->SetTransformEnabled(true);
    g->SetAmplitudeTransformEnabled(true);
    g->Set(Control::Smoothness, smoothness);
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
