#include "hosts/vst3/KVST3MIDIMessages.h"

#include <algorithm>
#include <cmath>

namespace KVST3MIDI {
namespace {

std::uint8_t SevenBits(double normalized) noexcept {
    return std::uint8_t(std::clamp(std::lround(normalized * 127.0), 0L, 127L));
}

std::uint8_t Channel(int channel) noexcept { return std::uint8_t(channel & 15); }

}  // namespace

Message Controller(int controller, double value) noexcept {
    if (controller == vst3::kAfterTouch) return {0xD0, SevenBits(value), 0, 0};
    return {0xB0, std::uint8_t(controller & 127), SevenBits(value), 0};
}

Message PitchBend(double value) noexcept {
    const double bend = value * 2.0 - 1.0;
    const long position = std::clamp(std::lround((bend + 1.0) * 8192.0), 0L, 16383L);
    return {0xE0, std::uint8_t(position & 127), std::uint8_t(position >> 7), 0};
}

bool FromNoteEvent(const vst3::Event& event, Message& message) noexcept {
    if (event.type == vst3::kNoteOnEvent) {
        // A note-on with velocity 0 would mean note-off in MIDI.
        const std::uint8_t velocity = std::max<std::uint8_t>(1, SevenBits(event.noteOn.velocity));
        message = {std::uint8_t(0x90 | Channel(event.noteOn.channel)), std::uint8_t(event.noteOn.pitch & 127),
                   velocity, 0};
        return true;
    }
    if (event.type == vst3::kNoteOffEvent) {
        message = {std::uint8_t(0x80 | Channel(event.noteOff.channel)), std::uint8_t(event.noteOff.pitch & 127),
                   SevenBits(event.noteOff.velocity), 0};
        return true;
    }
    return false;
}

}  // namespace KVST3MIDI
