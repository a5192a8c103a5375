#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "MIDIPluginSupport.h"
#include "support/AllocationCounter.h"

namespace {

// Every slot kind in use, so that each event runs its whole path.
void UseEverySlotKind(KMIDIControllers& midi) {
    midi.controllersEnabled = true;
    midi.noteControllersEnabled = true;
    midi.AddController(0, 1, 0);
    midi.AddController(0, KMIDIControllerNumber::kAftertouch, 1);
    midi.AddController(0, KMIDIControllerNumber::kPitchBend, 2);
    midi.AddController(0, KMIDIControllerNumber::kVelocityOn, 3);
    midi.PresetTrigger().enabled = true;
    midi.PresetTrigger().controller = 2;
    for (int mode = 0; mode < KMIDINoteControllerSlot::kModeCount; ++mode) {
        KMIDINoteControllerSlot& slot = midi.NoteController(mode);
        slot.enabled = true;
        slot.mode = mode;
        slot.note = 60;
        slot.target.Set(mode % 2);
    }
}

const std::uint8_t kMessages[][4] = {
    {0x90, 60, 100, 0}, {0x80, 60, 30, 0}, {0x91, 72, 0, 0},  {0xB0, 1, 90, 0},
    {0xB0, 2, 10, 0},   {0xB0, 2, 120, 0}, {0xD0, 50, 0, 0},  {0xE0, 0, 0x50, 0},
};

TEST(MIDIRealTime, NoEventAllocates) {
    MIDIPlugin m;
    UseEverySlotKind(m.plugin.MIDIControllers());
    for (const auto& message : kMessages) m.plugin.ProcessMIDIMessage(0, message);  // editor marks taken once
    const std::size_t before = AllocationCounter::Count();
    for (int round = 0; round < 100; ++round)
        for (const auto& message : kMessages) m.plugin.ProcessMIDIMessage(0, message);
    EXPECT_EQ(AllocationCounter::Count(), before);
}

// MIDI arrives on one thread while another edits slots, switches them and
// takes the editor's updates; ThreadSanitizer checks the sharing.
TEST(MIDIRealTime, EventsAndSlotEditsMayRunAtOnce) {
    MIDIPlugin m;
    KMIDIControllers& midi = m.plugin.MIDIControllers();
    UseEverySlotKind(midi);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int round = 0; round < 2000; ++round)
            for (const auto& message : kMessages) m.plugin.ProcessMIDIMessage(0, message);
        done = true;
    });
    std::vector<KAutomationAdapter*> pending;
    KMIDINotificationQueue::Notification n;
    for (int i = 0; !done; ++i) {
        KMIDIControllerSlot& slot = midi.Controller(i % KMIDIControllers::kSlotCount);
        slot.channel = i % 17;
        slot.rangeMode = i % 5;
        slot.target.Set(i % 3);
        slot.enabled = i % 2 == 0;
        midi.NoteController(i % 6).mode = (i / 6) % 6;
        midi.noteControllersEnabled = i % 3 != 0;
        m.plugin.SetParameter(2 + i % 10, 0.01 * (i % 100));  // slot values, as a host would
        m.plugin.TakePendingEditorUpdates(pending);
        while (midi.Notifications().Pop(n)) {
        }
    }
    audio.join();
}

}  // namespace
