#include "plugin/midi/KMIDINotificationQueue.h"

void KMIDINotificationQueue::Push(int channel, int number) noexcept {
    const std::uint64_t sequence = m_written.load(std::memory_order_relaxed);
    const std::uint64_t packed = Tag(sequence) << kSequenceShift | std::uint64_t(channel & 0xFF) << 16 |
                                 std::uint64_t(number & 0xFFFF);
    m_entries[sequence % kCapacity].store(packed, std::memory_order_release);
    m_written.store(sequence + 1, std::memory_order_release);
}

bool KMIDINotificationQueue::Pop(Notification& out) noexcept {
    for (;;) {
        const std::uint64_t written = m_written.load(std::memory_order_acquire);
        if (written - m_read > kCapacity) m_read = written - kCapacity;  // the oldest were overwritten
        if (m_read == written) return false;
        const std::uint64_t packed = m_entries[m_read % kCapacity].load(std::memory_order_acquire);
        if (packed >> kSequenceShift != Tag(m_read)) {
            // Overwritten while we looked: the writer has lapped us, and this
            // entry belongs to a newer lap.
            ++m_read;
            continue;
        }
        ++m_read;
        out.channel = int(packed >> 16 & 0xFF);
        out.number = int(packed & 0xFFFF);
        return true;
    }
}
