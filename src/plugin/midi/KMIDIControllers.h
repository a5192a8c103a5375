#pragma once
#include <array>
#include <atomic>

#include "plugin/midi/KMIDIControllerSlot.h"
#include "plugin/midi/KMIDINoteControllerSlot.h"
#include "plugin/midi/KMIDINotificationQueue.h"
#include "plugin/midi/KPresetSwitchTrigger.h"

class KMIDITarget;
class KStorageContext;

// The plug-in's MIDI control: 32 controller slots, 32 note-controller slots,
// the preset switch trigger and the two switches that enable the slots.
// Events come in on the audio thread and drive parameters of the target;
// the editor edits slots at the same time on its own thread.
class KMIDIControllers {
public:
    static constexpr int kSlotCount = 32;

    explicit KMIDIControllers(KMIDITarget& target) : m_target(target) {}

    KMIDIControllerSlot& Controller(int slot) { return m_controllers.at(std::size_t(slot)); }
    KMIDINoteControllerSlot& NoteController(int slot) { return m_noteControllers.at(std::size_t(slot)); }
    KPresetSwitchTrigger& PresetTrigger() noexcept { return m_trigger; }

    std::atomic<bool> controllersEnabled{false};
    std::atomic<bool> noteControllersEnabled{false};

    // A free controller slot, enabled for the given controller and target
    // (the editor's "add" and MIDI learn). Raises "Sorry, all controllers
    // are already in use." when all 32 are taken.
    int AddController(int channel, int number, int targetIndex);

    // Events; channel 0-based, values 0..1, bend -1..1.
    void OnController(int channel, int number, double value);
    void OnNote(int channel, int note, double velocity, bool on, double bend);
    void OnPitchBend(int channel, double bend);

    int HeldNotes() const noexcept { return m_heldNotes.load(std::memory_order_relaxed); }
    int LastNote() const noexcept { return m_lastNote.load(std::memory_order_relaxed); }
    KMIDINotificationQueue& Notifications() noexcept { return m_notifications; }

    // "Controllers" / "NoteControllers": one sub-item per enabled slot,
    // "Controller0".."Controller31" and "NoteController0".."NoteController31".
    void StoreControllers(KStorageContext& context);
    void StoreNoteControllers(KStorageContext& context);

private:
    void DriveControllers(int channel, int number, double position);
    void DriveNoteControllers(int channel, int note, bool on, double bend);
    void FollowPitch(const KMIDINoteControllerSlot& slot, int index, int note, double bend);
    void SetTarget(int index, double value);
    void SwitchPreset(int step);

    KMIDITarget& m_target;
    std::array<KMIDIControllerSlot, kSlotCount> m_controllers;
    std::array<KMIDINoteControllerSlot, kSlotCount> m_noteControllers;
    KPresetSwitchTrigger m_trigger;
    std::atomic<int> m_heldNotes{0};
    std::atomic<int> m_lastNote{-1};
    KMIDINotificationQueue m_notifications;
};
