// A host automating a waveform shape: every 64-frame block starts with a new
// shape position of a generator that has every operation on, so each block
// asks for a rebuild of about a millisecond. The figure is the audio
// thread's time per block (its CPU time; the real time is reported too).
#include <benchmark/benchmark.h>

#include <vector>

#include "GeneratorSettings.h"
#include "effect/HalvaneAudioEffectPlugin.h"

namespace {

constexpr int kFrames = 64;
constexpr int kChannels = 2;

void BM_EffectBlockWhileShapeChanges(benchmark::State& state) {
    HalvaneAudioEffectPlugin effect;
    effect.InitProcessing(kChannels, 48000);
    effect.OnParametersChanged();
    effect.SnapParameters();
    KSignalGenerator& generator = effect.Generator(0);
    SetEverythingOn(generator, 0.3);
    std::vector<float> in[kChannels], out[kChannels];
    float* inputs[kChannels];
    float* outputs[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        in[c].assign(kFrames, 0.25f);
        out[c].assign(kFrames, 0.0f);
        inputs[c] = in[c].data();
        outputs[c] = out[c].data();
    }
    double position = 0;
    for (auto _ : state) {
        position = position >= 14 ? 0 : position + 0.01;
        generator.Set(KSignalGenerator::Control::ShapePosition, position);
        effect.Process(nullptr, inputs, outputs, kFrames);
        benchmark::DoNotOptimize(out[0].data());
    }
}
BENCHMARK(BM_EffectBlockWhileShapeChanges)->Unit(benchmark::kMicrosecond);

}  // namespace
