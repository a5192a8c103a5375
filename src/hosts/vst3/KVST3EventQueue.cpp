#include "hosts/vst3/KVST3EventQueue.h"

#include <bit>

namespace {

// Enough for the events of a busy block without growing on the audio thread.
constexpr std::size_t kInitialCapacity = 256;

}  // namespace

KVST3EventQueue::KVST3EventQueue() {
    m_queued.reserve(kInitialCapacity);
    m_delivering.reserve(kInitialCapacity);
}

void KVST3EventQueue::Add(std::int32_t deltaFrames, const std::uint8_t* midiData) {
    if (!midiData || midiData[0] < 128) return;
    KScopedLock hold(m_lock);
    if (m_queued.size() == m_queued.capacity()) m_queued.reserve(std::bit_ceil(m_queued.size() + 1));
    m_queued.push_back(ToEvent(deltaFrames, midiData));
}

void KVST3EventQueue::DeliverTo(vst3::IEventList& list) {
    {
        KScopedLock hold(m_lock);
        if (m_queued.empty()) return;
        m_delivering.swap(m_queued);
    }
    for (vst3::Event& event : m_delivering) list.addEvent(event);
    m_delivering.clear();
}

int KVST3EventQueue::Size() {
    KScopedLock hold(m_lock);
    return int(m_queued.size());
}

vst3::Event KVST3EventQueue::ToEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) noexcept {
    constexpr float kVelocityScale = 0.007874016f;  // 1/127
    vst3::Event event{};
    event.sampleOffset = deltaFrames;
    const auto channel = vst3::int16(midiData[0] & 15);
    const auto pitch = vst3::int16(midiData[1]);
    const float velocity = float(midiData[2]) * kVelocityScale;
    if ((midiData[0] & 144) == 144) {
        event.type = vst3::kNoteOnEvent;
        event.noteOn = {channel, pitch, 0.0f, velocity, 0, -1};
    } else {
        event.type = vst3::kNoteOffEvent;
        event.noteOff = {channel, pitch, velocity, -1, 0.0f};
    }
    return event;
}
