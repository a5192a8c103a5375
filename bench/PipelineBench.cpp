#include <benchmark/benchmark.h>

#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

namespace {

constexpr double kRate = 48000;

struct StereoBuffers {
    explicit StereoBuffers(int frames) : left(std::size_t(frames), 0.25f), right(std::size_t(frames), -0.25f) {}
    float** Pointers() {
        pointers[0] = left.data();
        pointers[1] = right.data();
        return pointers;
    }
    std::vector<float> left, right;
    float* pointers[2] = {};
};

// The ring modulator's own Process on a stereo block: the cost the
// pipeline adds to.
void BM_EffectProcessAlone(benchmark::State& state) {
    const int frames = int(state.range(0));
    HalvaneAudioEffectPlugin effect;
    effect.InitProcessing(2, kRate);
    effect.OnParametersChanged();
    effect.SnapParameters();
    StereoBuffers in(frames), out(frames);
    for (auto _ : state) {
        effect.Process(nullptr, in.Pointers(), out.Pointers(), frames);
        benchmark::DoNotOptimize(out.left.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_EffectProcessAlone)->Arg(64)->Arg(1024);

void SetUp(KAudioEffectPluginToAudioPluginAdapter& plugin, int frames, int factor, bool highQuality) {
    plugin.Initialize(&HalvaneAudioEffectPluginInterface);
    plugin.SetSampleRate(kRate);
    plugin.SetMaxBlockSize(frames);
    plugin.SetHighQualityUpsampling(highQuality);
    plugin.SetUpsamplingFactor(factor);
    plugin.InitProcessing();
}

// The host block entry around the same effect, separate input and output
// buffers, replacing.
void BM_PipelineHostBlock(benchmark::State& state) {
    const int frames = int(state.range(0));
    KAudioEffectPluginToAudioPluginAdapter plugin;
    SetUp(plugin, frames, 1, false);
    StereoBuffers in(frames), out(frames);
    for (auto _ : state) {
        plugin.ProcessBlock(in.Pointers(), out.Pointers(), frames, true);
        benchmark::DoNotOptimize(out.left.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_PipelineHostBlock)->Arg(64)->Arg(1024);

// Upsampling factor and high quality (0/1), 512 host frames: the effect
// runs on factor times the samples, plus the filters.
void BM_PipelineUpsampled(benchmark::State& state) {
    const int frames = 512;
    KAudioEffectPluginToAudioPluginAdapter plugin;
    SetUp(plugin, frames, int(state.range(0)), state.range(1) != 0);
    StereoBuffers in(frames), out(frames);
    for (auto _ : state) {
        plugin.ProcessBlock(in.Pointers(), out.Pointers(), frames, true);
        benchmark::DoNotOptimize(out.left.data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_PipelineUpsampled)->ArgsProduct({{1, 2, 4, 8}, {0, 1}});

}  // namespace
