#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "foundation/threading/KLock.h"
#include "hosts/vst2/abi/VstEvents.h"

namespace Vst2 {

// MIDI the plug-in produced, waiting for the end of the block. Any thread
// may add; the audio thread takes everything at once and sends it without
// holding the lock, so a host that calls back cannot deadlock on it.
class KVst2MidiOutQueue {
public:
    // Four bytes are read: status byte first.
    void Push(std::int32_t deltaFrames, const std::uint8_t* midiData);
    // Hands all queued events, in the order they came, to `send` as one
    // VstEvents block; does nothing when the queue is empty.
    void Flush(const std::function<void(VstEvents&)>& send);

private:
    KLock m_lock;
    std::vector<VstMidiEvent> m_pending;
    std::vector<VstMidiEvent> m_sending;  // only the flushing thread touches it
};

}  // namespace Vst2
