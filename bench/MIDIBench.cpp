#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"

namespace {

// One MIDI message on the audio thread, from the raw bytes to the target
// parameter: the cost a dense controller stream adds to a block.
void MIDIMessage(benchmark::State& state, std::uint8_t status, std::uint8_t first) {
    const std::unique_ptr<KQuenlorAudioEffectPlugin> plugin = KCreatePluginObject();
    KMIDIControllers& midi = plugin->MIDIControllers();
    midi.controllersEnabled = true;
    midi.noteControllersEnabled = true;
    midi.AddController(0, 1, plugin->FindParameter("frequency0"));
    KMIDINoteControllerSlot& note = midi.NoteController(0);
    note.enabled = true;
    note.target.Set(plugin->FindParameter("frequency1"));
    std::uint8_t bytes[4] = {status, first, 0, 0};
    for (auto _ : state) {
        bytes[2] = std::uint8_t((bytes[2] + 1) & 0x7F);
        plugin->ProcessMIDIMessage(0, bytes);
    }
}

// Controller 1 drives frequency0 through a slot.
void BM_MIDIControllerToParameter(benchmark::State& state) { MIDIMessage(state, 0xB0, 1); }
BENCHMARK(BM_MIDIControllerToParameter);

// A note drives frequency1 through a logarithmic note controller.
void BM_MIDINoteToParameter(benchmark::State& state) { MIDIMessage(state, 0x90, 60); }
BENCHMARK(BM_MIDINoteToParameter);

// A controller that no slot listens to: the fixed cost of every event.
void BM_MIDIControllerUnmapped(benchmark::State& state) { MIDIMessage(state, 0xB0, 99); }
BENCHMARK(BM_MIDIControllerUnmapped);

}  // namespace
