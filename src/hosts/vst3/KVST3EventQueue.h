#pragma once
#include <cstdint>
#include <vector>

#include "foundation/threading/KLock.h"
#include "hosts/vst3/abi/Vst3Host.h"

// The MIDI the plug-in generates, kept until the next block hands it to the
// host's output event list. The plug-in may generate from any thread; the
// lock guards the queue only, never a call into the host.
class KVST3EventQueue {
public:
    KVST3EventQueue();

    // Status bytes below 128 are not MIDI and are dropped. A status with
    // bits 7 and 4 set is a note-on; anything else a note-off.
    void Add(std::int32_t deltaFrames, const std::uint8_t* midiData);
    // Moves every queued event, in order, to `list`.
    void DeliverTo(vst3::IEventList& list);
    int Size();

private:
    static vst3::Event ToEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) noexcept;

    KLock m_lock;
    std::vector<vst3::Event> m_queued;
    std::vector<vst3::Event> m_delivering;  // the audio thread's own
};
