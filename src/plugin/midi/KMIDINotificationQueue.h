#pragma once
#include <array>
#include <atomic>
#include <cstdint>

// MIDI activity for the editor (learn mode, display): (channel 1..16, number)
// pairs from the audio thread to one reading thread. Pushing never blocks
// and never fails: when the reader falls behind, the oldest notifications
// are lost. Single producer, single consumer.
class KMIDINotificationQueue {
public:
    static constexpr std::uint64_t kCapacity = 256;

    struct Notification {
        int channel = 0;
        int number = 0;
    };

    void Push(int channel, int number) noexcept;
    // False when nothing is waiting.
    bool Pop(Notification& out) noexcept;

private:
    // Each entry carries the sequence number it was written with, so the
    // reader can tell an entry of this lap from one already overwritten.
    static constexpr int kSequenceShift = 24;
    static std::uint64_t Tag(std::uint64_t sequence) noexcept { return sequence & ((1ull << 40) - 1); }

    std::array<std::atomic<std::uint64_t>, kCapacity> m_entries{};
    std::atomic<std::uint64_t> m_written{0};
    std::uint64_t m_read = 0;  // reader only
};
