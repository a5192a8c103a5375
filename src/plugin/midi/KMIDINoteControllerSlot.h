#pragma once
#include <atomic>

#include "plugin/midi/KMIDIControllerSlot.h"

enum class KNoteControllerMode : int {
    Linear = 0,
    Logarithmic = 1,
    OnOff = 2,
    OnOffAllOctaves = 3,
    Switch = 4,
    SwitchAllOctaves = 5,
};

// One MIDI note controller slot: notes drive a parameter between a minimum
// and a maximum, by pitch (modes 0 and 1), while held (2, 3) or as a
// toggle (4, 5). Atomic fields for the same reason as controller slots.
class KMIDINoteControllerSlot {
public:
    static constexpr int kModeCount = 6;

    std::atomic<bool> enabled{false};
    std::atomic<int> channel{0};
    std::atomic<int> mode{int(KNoteControllerMode::Logarithmic)};
    std::atomic<int> note{48};
    KMIDISlotTarget target;
    std::atomic<double> minimum{0};
    std::atomic<double> maximum{1};

    static const KString& ModeName(KNoteControllerMode mode);

    bool Accepts(int eventChannel) const noexcept {
        return enabled.load(std::memory_order_relaxed) &&
               KMIDIChannelMatches(channel.load(std::memory_order_relaxed), eventChannel);
    }
    KNoteControllerMode Mode() const noexcept { return KNoteControllerMode(mode.load(std::memory_order_relaxed)); }
    // minimum + (maximum - minimum) * position.
    double Between(double position) const noexcept;
    void Reset() noexcept;
    void Store(KStorageContext& context, KMIDITarget& target);
};

// Where a note's pitch falls in 20 Hz .. 20 kHz, 0..1 (below 0 under 20 Hz).
//
// Tuning: A4 (note 69) = 440 Hz, so note 60 is 440 * 2^(-9/12) = 261.6256 Hz;
// the pitch bend moves the pitch by `bendSemitones` semitones.
namespace KNotePitch {
constexpr double kNote60Frequency = 261.62556530059862;
constexpr double kBendRangeSemitones = 2;
double Frequency(int note, double bendSemitones) noexcept;
double LinearPosition(double frequency) noexcept;       // (f - 20) / 19980
double LogarithmicPosition(double frequency) noexcept;  // (log10 f - log10 20) / 3
}  // namespace KNotePitch
