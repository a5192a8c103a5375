#include "KVst2Instance.h"

#include <algorithm>
#include <stdexcept>

#include "KHostWindow.h"
#include "hosts/vst2/abi/VstEditor.h"
#include "hosts/vst2/abi/VstEvents.h"
#include "hosts/vst2/abi/VstOpcodes.h"

using namespace Vst2;

namespace {

// The instance being created, for the callbacks that come before its
// record names it.
thread_local KVst2Instance* t_creating = nullptr;

}  // namespace

KVst2Instance::KVst2Instance(KVst2Entry entry, int index, KTortureFailure& failure, KTortureCounters& counters)
    : KTortureInstance(index, failure, counters) {
    t_creating = this;
    m_effect = entry(&KVst2Instance::Callback);
    t_creating = nullptr;
    if (!m_effect || m_effect->magic != kEffectMagic) throw std::runtime_error("VSTPluginMain gave no effect");
    m_effect->resvd1 = reinterpret_cast<VstIntPtr>(this);
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, SampleRate());
    Dispatch(effSetBlockSize, 0, BlockSize());
    Dispatch(effMainsChanged, 0, 1);
    StartAudio();
}

KVst2Instance::~KVst2Instance() {
    StopAudio();
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effClose);
}

VstIntPtr KVst2Instance::Callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    KVst2Instance* instance =
        effect && effect->resvd1 ? reinterpret_cast<KVst2Instance*>(effect->resvd1) : t_creating;
    return instance ? instance->Answer(opcode) : 0;
}

VstIntPtr KVst2Instance::Answer(VstInt32 opcode) {
    Counters().callbacks.fetch_add(1, std::memory_order_relaxed);
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        // The transport belongs to the audio thread; elsewhere there is none.
        case audioMasterGetTime: return OnAudioThread() ? reinterpret_cast<VstIntPtr>(&m_time) : 0;
        case audioMasterGetSampleRate: return VstIntPtr(SampleRate());
        case audioMasterGetBlockSize: return BlockSize();
        case audioMasterGetCurrentProcessLevel: return OnAudioThread() ? 2 : 1;
        case audioMasterSizeWindow: return 1;
        default: return 0;
    }
}

VstIntPtr KVst2Instance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    Counters().Call();
    return m_effect->dispatcher(m_effect, opcode, index, value, ptr, opt);
}

int KVst2Instance::ParameterCount() { return m_effect->numParams; }

std::string KVst2Instance::ParameterName(int index) {
    char name[256] = "";
    Dispatch(effGetParamName, index, 0, name);
    return name;
}

void KVst2Instance::SetParameter(int index, double value) {
    Counters().Call();
    m_effect->setParameter(m_effect, index, float(value));
}

double KVst2Instance::GetParameter(int index) {
    Counters().Call();
    return m_effect->getParameter(m_effect, index);
}

void KVst2Instance::ReadParameterTexts(int index) {
    for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        char text[256] = "";
        Dispatch(opcode, index, 0, text);
    }
    if (index < 0 || index >= m_effect->numParams) return;
    Dispatch(effCanBeAutomated, index);
    char properties[128] = "";
    Dispatch(effGetParameterProperties, index, 0, properties);
}

void KVst2Instance::TypeText(int index, const std::string& text) {
    std::string typed = text;
    Dispatch(effString2Parameter, index, 0, typed.data());
}

std::vector<std::uint8_t> KVst2Instance::SaveState() {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size > 0 && bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

void KVst2Instance::LoadStateBytes(const std::vector<std::uint8_t>& state) {
    Dispatch(effSetChunk, 0, VstIntPtr(state.size()), const_cast<std::uint8_t*>(state.data()));
}

void KVst2Instance::SetBypass(bool bypass) { Dispatch(effSetBypass, 0, bypass ? 1 : 0); }

void KVst2Instance::Deactivate() {
    Dispatch(effStopProcess);
    Dispatch(effMainsChanged, 0, 0);
}

void KVst2Instance::Activate() {
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effStartProcess);
}

void KVst2Instance::ApplySetup(float sampleRate, int blockSize) {
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, blockSize);
}

void KVst2Instance::ApplySampleRateWhileRunning(float sampleRate) {
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
}

int KVst2Instance::ReportedLatency() { return m_effect->initialDelay; }

void KVst2Instance::SwitchProgram(KTortureRandom& random) {
    const int programs = std::max(m_effect->numPrograms, 1);
    const int program = random.Chance(0.95) ? random.Below(programs) : programs + 1;
    Dispatch(effBeginSetProgram);
    Dispatch(effSetProgram, 0, program);
    Dispatch(effEndSetProgram);
    char name[64] = "";
    Dispatch(effGetProgramName, 0, 0, name);
    if (random.Chance(0.2)) {
        char renamed[kVstMaxProgNameLen] = "Torture";
        Dispatch(effSetProgramName, 0, 0, renamed);
    }
    Dispatch(effGetProgramNameIndexed, random.Below(programs), 0, name);
}

void KVst2Instance::Queries(KTortureRandom& random) {
    static const char* const kCanDos[] = {"receiveVstEvents", "receiveVstMidiEvent", "sendVstMidiEvent", "bypass",
                                          "nothing at all", ""};
    Dispatch(effCanDo, 0, 0, const_cast<char*>(random.Pick(kCanDos)));
    Dispatch(effGetTailSize);
    Dispatch(effIdle);
    Dispatch(effGetVstVersion);
    Dispatch(effGetPlugCategory);
    char text[256] = "";
    Dispatch(effGetEffectName, 0, 0, text);
    Dispatch(effGetProductString, 0, 0, text);
    Dispatch(effGetVendorString, 0, 0, text);
}

void KVst2Instance::ExerciseEditor(KTortureRandom& random, KHostWindow& window) {
    if (!(m_effect->flags & effFlagsHasEditor)) return;
    ERect* rect = nullptr;
    Dispatch(effEditGetRect, 0, 0, &rect);
    Dispatch(effEditOpen, 0, 0, window.Handle());
    for (int idle = random.Between(0, 5); idle > 0; --idle) {
        Dispatch(effEditIdle);
        window.Pump();
    }
    // Now and then the editor stays open while the schedule goes on.
    if (random.Chance(0.8)) Dispatch(effEditClose);
}

void KVst2Instance::AdvanceTransport(KTortureRandom& random, int frames) {
    m_time.sampleRate = SampleRate();
    m_time.samplePos += frames;
    m_time.tempo = 60 + random.Below(180);
    m_time.ppqPos = m_time.samplePos / m_time.sampleRate * m_time.tempo / 60;
    m_time.flags = kVstTempoValid | kVstPpqPosValid | (random.Chance(0.8) ? kVstTransportPlaying : 0);
}

void KVst2Instance::SendMidi(KTortureRandom& random, int frames) {
    constexpr int kMostEvents = 8;
    VstMidiEvent midi[kMostEvents]{};
    // Declared with two slots; hosts allocate as many as they send.
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[kMostEvents];
    } list{};
    const int count = random.Between(1, kMostEvents);
    for (int i = 0; i < count; ++i) {
        VstMidiEvent& event = midi[i];
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = random.Chance(0.9) ? random.Below(frames) : random.Between(-4, frames + 4);
        event.midiData[0] = char(random.Between(0x80, 0xFF));
        event.midiData[1] = char(random.Chance(0.95) ? random.Below(128) : random.Below(256));
        event.midiData[2] = char(random.Chance(0.95) ? random.Below(128) : random.Below(256));
        list.events[i] = reinterpret_cast<VstEvent*>(&event);
    }
    list.numEvents = count;
    Dispatch(effProcessEvents, 0, 0, &list);
}

void KVst2Instance::ProcessAudio(float** inputs, float** outputs, int frames, Buffers buffers, bool events,
                                 KTortureRandom& random) {
    if (events) {
        AdvanceTransport(random, frames);
        if (random.Chance(0.2)) SendMidi(random, frames);
    }
    Counters().Call();
    if (buffers == Buffers::Accumulating)
        m_effect->process(m_effect, inputs, outputs, frames);
    else
        m_effect->processReplacing(m_effect, inputs, outputs, frames);
}
