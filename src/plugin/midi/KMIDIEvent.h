#pragma once
#include <cstdint>

// One incoming MIDI event after decoding. Channels are 0-based here (0..15);
// controller numbers follow the slot numbering: 0..127 control change,
// 128 aftertouch, 129 pitch bend, 130 and 131 velocities.
struct KMIDIEvent {
    enum class Kind : std::uint8_t { Note, Controller, Aftertouch, PitchBend };

    Kind kind = Kind::Controller;
    int channel = 0;
    int number = 0;       // note or controller number
    double value = 0;     // 0..1; pitch bend -1..1
    bool noteOn = false;  // notes only
};

namespace KMIDIControllerNumber {
constexpr int kLastControlChange = 127;
constexpr int kAftertouch = 128;
constexpr int kPitchBend = 129;
constexpr int kVelocityOnAndOff = 130;
constexpr int kVelocityOn = 131;
constexpr int kCount = 132;
}  // namespace KMIDIControllerNumber
