#include "plugin/midi/KMIDIControllers.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/midi/KMIDIEvent.h"
#include "plugin/midi/KMIDITarget.h"

using namespace KMIDIControllerNumber;

int KMIDIControllers::AddController(int channel, int number, int targetIndex) {
    for (int i = 0; i < kSlotCount; ++i) {
        KMIDIControllerSlot& slot = m_controllers[std::size_t(i)];
        if (slot.enabled.load()) continue;
        slot.Reset();
        slot.channel = channel;
        slot.controller = number;
        slot.target.Set(targetIndex);
        slot.enabled = true;
        return i;
    }
    throw KException("Sorry, all controllers are already in use.");
}

void KMIDIControllers::OnController(int channel, int number, double value) {
    DriveControllers(channel, number, value);
    if (m_trigger.Matches(channel, number)) SwitchPreset(m_trigger.Step(value));
    m_notifications.Push(channel + 1, number);
}

void KMIDIControllers::OnPitchBend(int channel, double bend) {
    OnController(channel, kPitchBend, (bend + 1) * 0.5);
    // Notes held under a bend glide with it.
    if (!noteControllersEnabled.load(std::memory_order_relaxed) || HeldNotes() <= 0 || LastNote() < 0) return;
    for (const KMIDINoteControllerSlot& slot : m_noteControllers) {
        const KNoteControllerMode mode = slot.Mode();
        if (slot.Accepts(channel) && (mode == KNoteControllerMode::Linear || mode == KNoteControllerMode::Logarithmic))
            FollowPitch(slot, slot.target.Index(), LastNote(), bend);
    }
}

void KMIDIControllers::OnNote(int channel, int note, double velocity, bool on, double bend) {
    DriveControllers(channel, kVelocityOnAndOff, velocity);
    if (on) DriveControllers(channel, kVelocityOn, velocity);
    if (m_trigger.Matches(channel, kVelocityOnAndOff) || (on && m_trigger.Matches(channel, kVelocityOn)))
        SwitchPreset(1);
    m_notifications.Push(channel + 1, kVelocityOn);
    DriveNoteControllers(channel, note, on, bend);
    m_notifications.Push(channel + 1, note);
}

void KMIDIControllers::DriveControllers(int channel, int number, double position) {
    if (!controllersEnabled.load(std::memory_order_relaxed)) return;
    for (const KMIDIControllerSlot& slot : m_controllers)
        if (slot.Matches(channel, number)) SetTarget(slot.target.Index(), slot.Map(position));
}

void KMIDIControllers::DriveNoteControllers(int channel, int note, bool on, double bend) {
    if (!noteControllersEnabled.load(std::memory_order_relaxed)) return;
    m_heldNotes.fetch_add(on ? 1 : -1, std::memory_order_relaxed);
    for (const KMIDINoteControllerSlot& slot : m_noteControllers) {
        if (!slot.Accepts(channel)) continue;
        const int index = slot.target.Index();
        const int own = slot.note.load(std::memory_order_relaxed);
        switch (slot.Mode()) {
            case KNoteControllerMode::Linear:
            case KNoteControllerMode::Logarithmic:
                // The note a later bend re-evaluates is one these took.
                if (on) {
                    FollowPitch(slot, index, note, bend);
                    m_lastNote.store(note, std::memory_order_relaxed);
                }
                break;
            case KNoteControllerMode::OnOff:
                if (note == own) SetTarget(index, slot.Between(on ? 1 : 0));
                break;
            case KNoteControllerMode::OnOffAllOctaves:
                if (note % 12 == own % 12) SetTarget(index, slot.Between(on ? 1 : 0));
                break;
            case KNoteControllerMode::Switch:
            case KNoteControllerMode::SwitchAllOctaves: {
                const bool octaves = slot.Mode() == KNoteControllerMode::SwitchAllOctaves;
                const bool hit = octaves ? note % 12 == own % 12 : note == own;
                if (on && hit && index >= 0 && index < m_target.MIDITargetCount())
                    SetTarget(index, slot.Between(m_target.GetTargetValue(index) >= 0.5 ? 0 : 1));
                break;
            }
        }
    }
}

// The bend is -1..1 and spans KNotePitch::kBendRangeSemitones either way.
// A pitch below 20 Hz has a negative position and takes the target beyond
// the minimum (SetTarget keeps it inside 0..1).
void KMIDIControllers::FollowPitch(const KMIDINoteControllerSlot& slot, int index, int note, double bend) {
    const double frequency = KNotePitch::Frequency(note, bend * KNotePitch::kBendRangeSemitones);
    const double position = slot.Mode() == KNoteControllerMode::Linear ? KNotePitch::LinearPosition(frequency)
                                                                       : KNotePitch::LogarithmicPosition(frequency);
    SetTarget(index, slot.Between(position));
}

// A slot whose parameter no longer exists does nothing.
void KMIDIControllers::SetTarget(int index, double value) {
    if (index >= 0 && index < m_target.MIDITargetCount()) m_target.SetTargetValue(index, std::clamp(value, 0.0, 1.0));
}

void KMIDIControllers::SwitchPreset(int step) {
    if (step != 0) m_target.SwitchPreset(step);
}

namespace {

// The slot rule: a sub-item per enabled slot when storing; when loading, a
// slot without a sub-item is disabled.
template <class Slot, class Store>
void StoreSlots(KStorageContext& context, const KString& listName, const KString& slotName, Slot& slots, Store store) {
    KStorageContext list = context.SubItem(listName);
    for (int i = 0; i < int(slots.size()); ++i) {
        auto& slot = slots[std::size_t(i)];
        const KString name = KFormatter("{0}{1}") << slotName << i;
        if (context.Storing()) {
            list.Item().RemoveSubItem(name);
            if (!slot.enabled.load()) continue;
            KStorageContext item{list.Item().AddSubItem(name), true};
            store(slot, item);
        } else if (KXMLItem* found = list.Item().FindSubItem(name)) {
            KStorageContext item{*found, false};
            store(slot, item);
        } else {
            slot.Reset();
        }
    }
}

}  // namespace

void KMIDIControllers::StoreControllers(KStorageContext& context) {
    StoreSlots(context, "Controllers", "Controller", m_controllers,
               [&](KMIDIControllerSlot& slot, KStorageContext& item) { slot.Store(item, m_target); });
}

void KMIDIControllers::StoreNoteControllers(KStorageContext& context) {
    StoreSlots(context, "NoteControllers", "NoteController", m_noteControllers,
               [&](KMIDINoteControllerSlot& slot, KStorageContext& item) { slot.Store(item, m_target); });
}
