#pragma once
#include <atomic>
#include <cstdint>

#include "plugin/midi/KMIDIEvent.h"

// Something that listens to the plug-in's MIDI input (an editor display, a
// learn mode). It hears an event when it is enabled and the bit of the
// event's channel is set in its mask.
class KMIDIReceiver {
public:
    static constexpr std::uint32_t kAllChannels = 0xFFFFu;

    virtual ~KMIDIReceiver() = default;
    virtual void ReceiveMIDI(const KMIDIEvent& event) = 0;

    // Null: always enabled.
    void SetEnabledFlag(const std::atomic<bool>* enabled) noexcept { m_enabled.store(enabled); }
    void SetChannelMask(std::uint32_t mask) noexcept { m_channelMask.store(mask); }

    bool Accepts(int channel) const noexcept {
        const std::atomic<bool>* enabled = m_enabled.load(std::memory_order_acquire);
        if (enabled && !enabled->load(std::memory_order_relaxed)) return false;
        return channel >= 0 && channel < 32 && (m_channelMask.load(std::memory_order_relaxed) >> channel & 1u) != 0;
    }

private:
    std::atomic<const std::atomic<bool>*> m_enabled{nullptr};
    std::atomic<std::uint32_t> m_channelMask{kAllChannels};
};
