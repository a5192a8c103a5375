// The block entry of the VST 3 bridge.
#include <algorithm>
#include <cstring>

#include "foundation/core/Guard.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "hosts/vst3/KVST3Transport.h"

namespace {

// Every bus reaches the plug-in as eight channel slots.
constexpr int kSlotsPerBus = 8;
constexpr int kMaxBuses = 4;

// Note velocities reach the note entry held to 0..1 (one that is not a
// number counts as 0). Controller values and bends go as given: the
// plug-in's entries drop those that are not numbers and hold the rest.
double Velocity(double value) noexcept { return value >= 0.0 ? std::min(value, 1.0) : 0.0; }

void FillSlots(float** slots, int pluginBuses, const vst3::AudioBusBuffers* buses, int hostBuses) noexcept {
    std::fill(slots, slots + kSlotsPerBus * kMaxBuses, nullptr);
    for (int b = 0; b < std::min(pluginBuses, kMaxBuses); ++b) {
        if (b >= hostBuses || !buses || !buses[b].channelBuffers32) continue;
        const int channels = std::clamp(buses[b].numChannels, 0, kSlotsPerBus);
        std::copy_n(buses[b].channelBuffers32, channels, slots + b * kSlotsPerBus);
    }
}

}  // namespace

// Whatever fails inside ends the block where it happened; the host still
// hears that the block was taken.
vst3::tresult KAudioPluginVST3Adapter::process(vst3::ProcessData& data) {
    KGuard::Run("KAudioPluginVST3Adapter::process", [&] { ProcessBlock(data); });
    return vst3::kResultOk;
}

// A block without samples applies nothing, not even the parameter changes
// it carries.
void KAudioPluginVST3Adapter::ProcessBlock(vst3::ProcessData& data) {
    if (data.numSamples <= 0) return;
    if (!ApplyHostChanges(data.inputParameterChanges)) return;
    if (data.processContext) UpdateTransport(*data.processContext);
    if (data.inputEvents) DeliverInputEvents(*data.inputEvents);
    // Only 32-bit samples were agreed on; other buffers are left alone.
    const bool hasAudio = data.numInputs > 0 || data.numOutputs > 0;
    if (hasAudio && data.symbolicSampleSize == vst3::kSample32) ProcessAudio(data);
    if (data.outputEvents) m_midiOut.DeliverTo(*data.outputEvents);
}

// A plug-in that does not follow the transport only learns that the block
// brought transport news.
void KAudioPluginVST3Adapter::UpdateTransport(const vst3::ProcessContext& context) {
    KTransportInfo& transport = m_plugin->Transport();
    if (m_plugin->WantsTransport()) {
        KVST3Transport::Update(transport, context, m_lastSongPosition);
    } else {
        transport.updated = true;
        transport.updatedForEditor = true;
    }
}

// Only the last point of each queue counts: the plug-in smooths its own
// parameters, so the points before it would be overwritten at once. False
// when a processing set-up holds the plug-in; the block is then skipped.
bool KAudioPluginVST3Adapter::ApplyHostChanges(vst3::IParameterChanges* changes) {
    const int count = changes ? changes->getParameterCount() : 0;
    if (count <= 0) return true;
    KHostedPlugin::HostChangeLock lock(*m_plugin);
    if (!lock.Held()) return false;
    for (int i = 0; i < count; ++i) {
        vst3::IParamValueQueue* queue = changes->getParameterData(i);
        const int points = queue ? queue->getPointCount() : 0;
        vst3::int32 offset = 0;
        double value = 0;
        if (points > 0 && queue->getPoint(points - 1, offset, value) == vst3::kResultOk)
            ApplyHostChange(queue->getParameterId(), value);
    }
    return true;
}

void KAudioPluginVST3Adapter::ApplyHostChange(vst3::ParamID id, double value) {
    if (id == kBypassID) {
        m_plugin->SetBypass(value > 0.5);
    } else if (id == kPitchBendID) {
        m_plugin->ProcessPitchBend(0, value * 2.0 - 1.0);
    } else if (id >= kControllerBaseID) {
        // 128 goes to the controller entry as well, by its number.
        if (id < kPitchBendID) m_plugin->ProcessController(0, int(id - kControllerBaseID), value);
    } else if (!m_sendingAutomation.load(std::memory_order_relaxed) && IsPluginParameter(id)) {
        m_plugin->SetParameterIfChanged(int(id), value);
    }
}

void KAudioPluginVST3Adapter::DeliverInputEvents(vst3::IEventList& events) {
    const int count = events.getEventCount();
    for (int i = 0; i < count; ++i) {
        vst3::Event event{};
        if (events.getEvent(i, event) != vst3::kResultOk) continue;
        // Notes keep their channel, pitch and velocity as the host gave them;
        // a note-on of velocity 0 stays a note-on.
        if (event.type == vst3::kNoteOnEvent) {
            const vst3::NoteOnEvent& note = event.noteOn;
            m_plugin->ProcessNote(note.channel & 15, note.pitch & 127, Velocity(note.velocity), true);
        } else if (event.type == vst3::kNoteOffEvent) {
            const vst3::NoteOffEvent& note = event.noteOff;
            m_plugin->ProcessNote(note.channel & 15, note.pitch & 127, Velocity(note.velocity), false);
        } else if (event.type == vst3::kDataEvent && event.data.bytes && event.data.size > 0) {
            std::uint8_t message[4] = {};
            std::memcpy(message, event.data.bytes, std::min<std::size_t>(event.data.size, sizeof message));
            m_plugin->ProcessMIDIMessage(event.sampleOffset, message);
        }
    }
}

void KAudioPluginVST3Adapter::ProcessAudio(vst3::ProcessData& data) {
    float* inputs[kSlotsPerBus * kMaxBuses];
    float* outputs[kSlotsPerBus * kMaxBuses];
    FillSlots(inputs, m_plugin->InputBusCount(), data.inputs, data.numInputs);
    FillSlots(outputs, m_plugin->OutputBusCount(), data.outputs, data.numOutputs);
    m_plugin->ProcessBlock(inputs, outputs, data.numSamples, true);
}
