#pragma once
#include <string>
#include <vector>

class KQuenlorAudioEffectPlugin;

// "--midi-controller CC=ID": maps MIDI controller CC (0-127, 128 aftertouch,
// 129 pitch bend, 130/131 velocity) on any channel onto the whole range of
// parameter ID, and switches MIDI controllers on.
void MapMIDIControllers(KQuenlorAudioEffectPlugin& plugin, const std::vector<std::string>& mappings);
