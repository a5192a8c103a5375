#pragma once
#include <array>
#include <cstdint>

#include "hosts/vst3/abi/Vst3Structures.h"

// What the host sends as parameters and note events, turned into the short
// MIDI messages the plug-in's MIDI entry reads: status byte, two data bytes
// and a spare zero, on channel 0 unless the event names one.
namespace KVST3MIDI {

using Message = std::array<std::uint8_t, 4>;

// Controllers 0..127 as control changes; 128, which hosts use for channel
// pressure, as channel pressure. `value` is normalised 0..1.
Message Controller(int controller, double value) noexcept;
// 0..1 becomes a bend of -1..+1 (value * 2 - 1), centred at 8192.
Message PitchBend(double value) noexcept;
// Note events of types 0 and 1; false for other events.
bool FromNoteEvent(const vst3::Event& event, Message& message) noexcept;

}  // namespace KVST3MIDI
