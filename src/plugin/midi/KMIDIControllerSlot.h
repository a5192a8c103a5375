#pragma once
#include <atomic>

#include "foundation/text/KString.h"
#include "plugin/multiparameters/KModulationRange.h"

class KMIDITarget;
class KStorageContext;

// The parameter a slot drives: its host index, and the stored key that
// finds it again after loading. The index is read on the audio thread.
class KMIDISlotTarget {
public:
    int Index() const noexcept { return m_index.load(std::memory_order_relaxed); }
    void Set(int index) noexcept { m_index.store(index, std::memory_order_relaxed); }
    // Writes the key of the current target, or resolves a loaded key (an
    // unknown one leaves the slot without target).
    void Store(KStorageContext& context, KMIDITarget& target);

private:
    std::atomic<int> m_index{-1};
};

// Channel filter of a slot: 0 any channel, else 1..16.
inline bool KMIDIChannelMatches(int slotChannel, int eventChannel) noexcept {
    return slotChannel == 0 || slotChannel == eventChannel + 1;
}

// One MIDI controller slot: a controller number (or aftertouch, pitch bend,
// velocity) spread over a parameter's range. Edited on the editor's thread
// while the audio thread reads it, so every field is atomic.
class KMIDIControllerSlot {
public:
    std::atomic<bool> enabled{false};
    std::atomic<int> channel{0};
    std::atomic<int> controller{1};
    KMIDISlotTarget target;
    std::atomic<double> value{0};
    std::atomic<double> maxValue{0};
    std::atomic<double> range{1};
    std::atomic<int> rangeMode{int(KRangeMode::UpOnly)};
    std::atomic<bool> invert{false};

    // Acquiring `enabled` sees the fields a slot was filled with before it
    // was enabled.
    bool Matches(int eventChannel, int number) const noexcept {
        return enabled.load(std::memory_order_acquire) && controller.load(std::memory_order_relaxed) == number &&
               KMIDIChannelMatches(channel.load(std::memory_order_relaxed), eventChannel);
    }
    // Target value for a controller position 0..1.
    double Map(double position) const noexcept;
    // Back to a fresh, disabled slot.
    void Reset() noexcept;
    void Store(KStorageContext& context, KMIDITarget& target);
};
