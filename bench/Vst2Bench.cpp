// One stereo block of 1024 frames through the VST 2.4 effect record, as a
// host calls it, to set against BM_ReferenceLoop (EffectBench.cpp): the
// bridge, the pipeline and the plug-in around the same ring modulation.
#include <benchmark/benchmark.h>

#include <vector>

#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/abi/VstOpcodes.h"

namespace {

using namespace Vst2;

constexpr int kBlock = 1024;

// A host that gives no time information and takes no notice of anything.
VstIntPtr QuietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

void BM_Vst2ProcessReplacing(benchmark::State& state) {
    auto* adapter = new KAudioPluginVSTAdapter(&QuietHost, KHostedPlugin::Create());
    AEffect* effect = adapter->getAeffect();
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    effect->dispatcher(effect, effSetBlockSize, 0, kBlock, nullptr, 0);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0);
    std::vector<float> in[2] = {std::vector<float>(kBlock, 0.25f), std::vector<float>(kBlock, 0.25f)};
    std::vector<float> out[2] = {std::vector<float>(kBlock), std::vector<float>(kBlock)};
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    for (auto _ : state) {
        effect->processReplacing(effect, inputs, outputs, kBlock);
        benchmark::DoNotOptimize(out[0].data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock * 2);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0);
}
BENCHMARK(BM_Vst2ProcessReplacing);

}  // namespace
