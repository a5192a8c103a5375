#include "hosts/vst2/KVst2Record.h"

#include "hosts/vst2/KAudioPluginVSTAdapter.h"

namespace Vst2 {

namespace {

void ProcessAccumulating(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    if (auto* adapter = KAudioPluginVSTAdapter::FromEffect(effect)) adapter->process(inputs, outputs, frames);
}

void ProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    if (auto* adapter = KAudioPluginVSTAdapter::FromEffect(effect))
        adapter->processReplacing(inputs, outputs, frames);
}

void SetParameter(AEffect* effect, VstInt32 index, float value) {
    if (auto* adapter = KAudioPluginVSTAdapter::FromEffect(effect)) adapter->setParameter(index, value);
}

float GetParameter(AEffect* effect, VstInt32 index) {
    auto* adapter = KAudioPluginVSTAdapter::FromEffect(effect);
    return adapter ? adapter->getParameter(index) : 0.0f;
}

}  // namespace

void ConnectRecordEntries(AEffect& effect) noexcept {
    effect.dispatcher = &Dispatch;
    effect.process = &ProcessAccumulating;
    effect.processReplacing = &ProcessReplacing;
    // 64-bit processing is not offered (no effFlagsCanDoubleReplacing).
    effect.processDoubleReplacing = nullptr;
    effect.setParameter = &SetParameter;
    effect.getParameter = &GetParameter;
}

}  // namespace Vst2
