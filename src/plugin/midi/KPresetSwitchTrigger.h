#pragma once
#include <atomic>

#include "plugin/midi/KMIDIControllerSlot.h"

// A controller that steps through presets: falling below 1/3 loads the
// previous preset, rising to 2/3 or above the next. The last value gives the
// hysteresis, so a controller resting in one third does nothing more.
class KPresetSwitchTrigger {
public:
    std::atomic<bool> enabled{false};
    std::atomic<int> controller{0};
    std::atomic<int> channel{0};

    bool Matches(int eventChannel, int number) const noexcept {
        return enabled.load(std::memory_order_relaxed) && controller.load(std::memory_order_relaxed) == number &&
               KMIDIChannelMatches(channel.load(std::memory_order_relaxed), eventChannel);
    }
    // -1 previous, +1 next, 0 nothing; remembers the value. Audio thread only.
    int Step(double value) noexcept;
    double LastValue() const noexcept { return m_lastValue; }
    void Store(KStorageContext& context);

private:
    double m_lastValue = 0;
};
