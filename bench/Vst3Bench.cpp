// One block of 2 channels x 1024 frames through the VST 3 processor
// interface, the way a host calls it, to set against BM_ReferenceLoop
// (EffectBench.cpp): the bridge and the pipeline should add little to what
// the ring modulation itself costs.
#include <benchmark/benchmark.h>

#include <vector>

#include "hosts/vst3/KAudioPluginVST3Adapter.h"

namespace {

constexpr int kFrames = 1024;

void BM_Vst3Process(benchmark::State& state) {
    auto* adapter = new KAudioPluginVST3Adapter(KHostedPlugin::Create());
    vst3::IAudioProcessor* processor = adapter;
    adapter->initialize(nullptr);
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, kFrames, 48000.0};
    processor->setupProcessing(setup);
    adapter->setActive(true);
    processor->setProcessing(true);

    std::vector<float> in[2] = {std::vector<float>(kFrames, 0.25f), std::vector<float>(kFrames, 0.25f)};
    std::vector<float> out[2] = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    vst3::AudioBusBuffers inputBus{}, outputBus{};
    inputBus.numChannels = outputBus.numChannels = 2;
    inputBus.channelBuffers32 = inputs;
    outputBus.channelBuffers32 = outputs;
    vst3::ProcessData data{};
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = kFrames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;

    for (auto _ : state) {
        processor->process(data);
        benchmark::DoNotOptimize(out[0].data());
    }
    state.SetItemsProcessed(state.iterations() * kFrames * 2);
    adapter->setActive(false);
    adapter->terminate();
    adapter->release();
}
BENCHMARK(BM_Vst3Process);

}  // namespace
