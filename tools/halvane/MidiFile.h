#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

// One short MIDI message of a Standard MIDI File and the output frame at
// which it happens.
struct TimedMIDIMessage {
    long long frame = 0;
    std::array<std::uint8_t, 4> bytes{};
};

// The channel messages of every track, in time order, at `sampleRate`
// (tempo changes are taken into account). System and meta events are left
// out. Throws ToolError when the file cannot be read.
std::vector<TimedMIDIMessage> ReadMIDIFile(const std::filesystem::path& path, double sampleRate);
