#include "MidiControllers.h"

#include <charconv>

#include "ToolError.h"
#include "foundation/core/KException.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "plugin/midi/KMIDIEvent.h"

namespace {

int ControllerNumber(const std::string& text, const std::string& mapping) {
    int number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 0 ||
        number >= KMIDIControllerNumber::kCount)
        throw ToolError("--midi-controller \"" + mapping + "\": the controller must be a number from 0 to 131");
    return number;
}

}  // namespace

void MapMIDIControllers(KQuenlorAudioEffectPlugin& plugin, const std::vector<std::string>& mappings) {
    for (const std::string& mapping : mappings) {
        const std::size_t equals = mapping.find('=');
        if (equals == std::string::npos) throw ToolError("--midi-controller expects CC=ID, got \"" + mapping + "\"");
        const int number = ControllerNumber(mapping.substr(0, equals), mapping);
        const std::string id = mapping.substr(equals + 1);
        const int target = plugin.FindParameter(KString::FromUTF8(id));
        if (target < 0) throw ToolError("--midi-controller: no parameter \"" + id + "\"");
        KMIDIControllers& midi = plugin.MIDIControllers();
        try {
            // Full range with depth 1 and centre 0.5: controller position = parameter position.
            KMIDIControllerSlot& slot = midi.Controller(midi.AddController(0, number, target));
            slot.rangeMode = int(KRangeMode::FullRange);
            slot.value = 0.5;
            slot.range = 1.0;
        } catch (const KException& error) {
            throw ToolError(error.Message().ToUTF8());
        }
        midi.controllersEnabled = true;
    }
}
