#include "MidiFile.h"

#include <smf.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "ToolError.h"

std::vector<TimedMIDIMessage> ReadMIDIFile(const std::filesystem::path& path, double sampleRate) {
    std::unique_ptr<smf_t, decltype(&smf_delete)> smf(smf_load(path.c_str()), &smf_delete);
    if (!smf) throw ToolError("cannot read MIDI file \"" + path.string() + "\"");
    std::vector<TimedMIDIMessage> messages;
    // smf_get_next_event merges the tracks in time order.
    while (smf_event_t* event = smf_get_next_event(smf.get())) {
        if (smf_event_is_metadata(event) || event->midi_buffer_length < 1) continue;
        const std::uint8_t status = event->midi_buffer[0];
        if (status < 0x80 || status >= 0xF0) continue;
        TimedMIDIMessage message;
        message.frame = std::llround(event->time_seconds * sampleRate);
        std::copy_n(event->midi_buffer, std::min<int>(event->midi_buffer_length, 3), message.bytes.begin());
        messages.push_back(message);
    }
    return messages;
}
