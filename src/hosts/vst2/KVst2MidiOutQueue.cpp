#include "hosts/vst2/KVst2MidiOutQueue.h"

#include <bit>
#include <cstring>
#include <memory>

#include "foundation/threading/KSynchronizer.h"

namespace Vst2 {

namespace {

VstMidiEvent MakeMidiEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    std::memcpy(event.midiData, midiData, sizeof(event.midiData));
    return event;
}

// The record is declared with two pointers; a real one holds as many as
// there are events.
struct EventsBlock {
    explicit EventsBlock(std::vector<VstMidiEvent>& events)
        : storage(std::make_unique<VstIntPtr[]>(2 + events.size())) {
        block = reinterpret_cast<VstEvents*>(storage.get());
        block->numEvents = VstInt32(events.size());
        VstEvent** pointers = block->events;
        for (std::size_t i = 0; i < events.size(); ++i) pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    std::unique_ptr<VstIntPtr[]> storage;
    VstEvents* block;
};

}  // namespace

void KVst2MidiOutQueue::Push(std::int32_t deltaFrames, const std::uint8_t* midiData) {
    KScopedLock hold(m_lock);
    if (m_pending.size() == m_pending.capacity()) m_pending.reserve(std::bit_ceil(m_pending.size() + 1));
    m_pending.push_back(MakeMidiEvent(deltaFrames, midiData));
}

void KVst2MidiOutQueue::Flush(const std::function<void(VstEvents&)>& send) {
    m_sending.clear();
    {
        KScopedLock hold(m_lock);
        if (m_pending.empty()) return;
        m_pending.swap(m_sending);
    }
    EventsBlock events(m_sending);
    send(*events.block);
}

}  // namespace Vst2
