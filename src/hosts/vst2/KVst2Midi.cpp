// MIDI in from the host's event lists, MIDI out through the queue.
#include "foundation/core/Guard.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/KVst2Transport.h"
#include "hosts/vst2/abi/VstOpcodes.h"

namespace Vst2 {

VstInt32 KAudioPluginVSTAdapter::processEvents(const VstEvents* events) {
    KGuard::Run("KAudioPluginVSTAdapter::processEvents", [&] {
        if (!events || events->numEvents <= 0) return;
        // MIDI that drives parameters may depend on the musical position.
        if (const auto* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kMidiTimeMask)))
            CopyMusicalPosition(*time, m_plugin->Transport());
        // The record declares two pointers; the host's holds numEvents.
        VstEvent* const* list = events->events;
        for (VstInt32 i = 0; i < events->numEvents; ++i) {
            const VstEvent* event = list[i];
            if (!event || event->type != kVstMidiType) continue;
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            m_plugin->ProcessMIDIMessage(midi->deltaFrames, reinterpret_cast<const std::uint8_t*>(midi->midiData));
        }
    });
    return 1;
}

void KAudioPluginVSTAdapter::GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) {
    m_midiOut.Push(deltaFrames, midiData);
}

void KAudioPluginVSTAdapter::SendMidiQueue() {
    m_midiOut.Flush([this](VstEvents& events) { CallHost(audioMasterProcessEvents, 0, 0, &events); });
}

}  // namespace Vst2
