// Host requests by opcode, as operations of the adapter. Requests the
// effect does not implement (programs, offline processing, MIDI program
// names, soft bypass, 64-bit processing) answer 0, and so does the block
// size: the plug-in serves blocks of any length.
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/KAudioPluginVSTAdapterEditor.h"
#include "hosts/vst2/KVst2Record.h"
#include "hosts/vst2/abi/VstOpcodes.h"

namespace Vst2 {

namespace {

// What old plug-ins answered to effIdentify ('NvEf').
constexpr VstIntPtr kIdentity = FourCharCode("NvEf");

VstIntPtr DispatchEditor(KAudioPluginVSTAdapter::KEditor* editor, VstInt32 opcode, VstInt32 index,
                         VstIntPtr value, void* ptr) {
    if (!editor) return 0;
    switch (opcode) {
        case effEditGetRect: return editor->getRect(static_cast<ERect**>(ptr));
        case effEditOpen: return editor->open(ptr);
        case effEditClose: editor->close(); return 0;
        case effEditIdle: editor->idle(); return 0;
        case effEditKeyDown: return editor->onKeyDown(index, VstInt32(value));
        case effEditKeyUp: return editor->onKeyUp(index, VstInt32(value));
        default: return 0;
    }
}

VstIntPtr DispatchParameters(KAudioPluginVSTAdapter& adapter, VstInt32 opcode, VstInt32 index, void* ptr) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effGetParamLabel: adapter.getParameterLabel(index, text); return 0;
        case effGetParamDisplay: adapter.getParameterDisplay(index, text); return 0;
        case effGetParamName: adapter.getParameterName(index, text); return 0;
        case effCanBeAutomated: return 1;
        default: return 0;
    }
}

VstIntPtr DispatchIdentity(KAudioPluginVSTAdapter& adapter, VstInt32 opcode, void* ptr) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effGetEffectName: return adapter.getEffectName(text);
        case effGetVendorString: return adapter.getVendorString(text);
        case effGetProductString: return adapter.getProductString(text);
        case effGetVendorVersion: return KAudioPluginVSTAdapter::kVendorVersion;
        case effGetVstVersion: return kVstVersion;
        case effGetPlugCategory: return adapter.getPlugCategory();
        case effCanDo: return adapter.canDo(static_cast<const char*>(ptr));
        case effIdentify: return kIdentity;
        default: return 0;
    }
}

VstIntPtr DispatchChannels(KAudioPluginVSTAdapter& adapter, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                           void* ptr) {
    switch (opcode) {
        case effGetInputProperties:
            return adapter.getInputProperties(index, static_cast<VstPinProperties*>(ptr));
        case effGetOutputProperties:
            return adapter.getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
        case effSetSpeakerArrangement:
            return adapter.setSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                                 static_cast<const VstSpeakerArrangement*>(ptr));
        case effGetSpeakerArrangement:
            // The effect keeps no arrangement records of its own to point at.
            if (auto** in = reinterpret_cast<VstSpeakerArrangement**>(value)) *in = nullptr;
            if (auto** out = static_cast<VstSpeakerArrangement**>(ptr)) *out = nullptr;
            return 0;
        default: return 0;
    }
}

}  // namespace

VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    auto* adapter = KAudioPluginVSTAdapter::FromEffect(effect);
    if (!adapter) return 0;
    switch (opcode) {
        case effClose: delete adapter; return 0;
        case effSetSampleRate: adapter->setSampleRate(opt); return 0;
        case effMainsChanged:
            // Suspending reaches nothing: the plug-in keeps its set-up.
            if (value) adapter->resume();
            return 0;
        case effGetChunk: return adapter->getChunk(static_cast<void**>(ptr));
        case effSetChunk: return adapter->setChunk(ptr, VstInt32(value));
        case effProcessEvents: return adapter->processEvents(static_cast<const VstEvents*>(ptr));
        case effGetCurrentMidiProgram: return -1;
        // An offline host announces the length to come; the effect takes
        // any length, so the one announced is the answer.
        case effSetTotalSampleToProcess: return VstInt32(value);
        case effGetProgramName:
            if (ptr) *static_cast<char*>(ptr) = '\0';
            return 0;
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effCanBeAutomated: return DispatchParameters(*adapter, opcode, index, ptr);
        case effEditGetRect:
        case effEditOpen:
        case effEditClose:
        case effEditIdle:
        case effEditKeyDown:
        case effEditKeyUp: return DispatchEditor(adapter->Editor(), opcode, index, value, ptr);
        case effGetInputProperties:
        case effGetOutputProperties:
        case effSetSpeakerArrangement:
        case effGetSpeakerArrangement: return DispatchChannels(*adapter, opcode, index, value, ptr);
        default: return DispatchIdentity(*adapter, opcode, ptr);
    }
}

}  // namespace Vst2
