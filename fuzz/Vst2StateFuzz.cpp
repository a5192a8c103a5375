// Feeds arbitrary bytes to an instance through the VST 2.4 chunk entry
// (effSetChunk), as a host restoring a damaged or foreign project would.
// Afterwards the instance must still process finite audio, every
// parameter the host reads back must be a number within 0..1, and the state
// it then saves must restore to itself: saved, loaded and saved again, the
// two blocks are equal.
//
// Making an instance takes longer than a hundred loads, so one instance
// serves every input; each input starts from the state the instance saved
// when new.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "hosts/common/KHostedPlugin.h"
#include "hosts/common/KLibrary.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/abi/VstOpcodes.h"

using namespace Vst2;

namespace {

constexpr int kFrames = 64;

VstIntPtr Host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::vector<std::uint8_t> Save(AEffect* effect) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effect, effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size > 0 && bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

void Load(AEffect* effect, const std::uint8_t* data, std::size_t size) {
    Dispatch(effect, effSetChunk, 0, VstIntPtr(size), const_cast<std::uint8_t*>(data));
}

void ProcessFinite(AEffect* effect) {
    std::vector<float> buffers[4];
    for (int c = 0; c < 4; ++c) buffers[c].assign(kFrames, 0.0f);
    for (int i = 0; i < kFrames; ++i) buffers[0][i] = buffers[1][i] = float(std::sin(0.05 * i));
    float* inputs[2] = {buffers[0].data(), buffers[1].data()};
    float* outputs[2] = {buffers[2].data(), buffers[3].data()};
    effect->processReplacing(effect, inputs, outputs, kFrames);
    for (int c = 2; c < 4; ++c)
        for (float sample : buffers[c])
            if (!std::isfinite(sample)) std::abort();
}

// A host redraws its controls after a restore: a value that is no number,
// or outside 0..1, would reach its automation lanes.
void ParametersInRange(AEffect* effect) {
    for (VstInt32 i = 0; i < effect->numParams; ++i) {
        const float value = effect->getParameter(effect, i);
        if (!(value >= 0.0f && value <= 1.0f)) std::abort();
    }
}

AEffect* NewEffect() {
    KStartLibrarySubsystems();
    auto* adapter = new KAudioPluginVSTAdapter(&Host, KHostedPlugin::Create());
    AEffect* effect = adapter->getAeffect();
    Dispatch(effect, effOpen);
    Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effect, effSetBlockSize, 0, kFrames);
    Dispatch(effect, effMainsChanged, 0, 1);
    return effect;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AEffect* const effect = NewEffect();
    static const std::vector<std::uint8_t> fresh = Save(effect);
    static bool changed = false;
    if (changed) Load(effect, fresh.data(), fresh.size());

    Load(effect, data, size);
    ProcessFinite(effect);
    ParametersInRange(effect);
    const std::vector<std::uint8_t> saved = Save(effect);
    // Most inputs are refused and leave the instance as it was; only a
    // state that differs needs the round trip, and undoing next time.
    changed = saved != fresh;
    if (!changed) return 0;
    Load(effect, saved.data(), saved.size());
    if (Save(effect) != saved) std::abort();
    ProcessFinite(effect);
    return 0;
}
