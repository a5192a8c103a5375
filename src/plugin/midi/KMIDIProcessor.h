#pragma once
#include <array>
#include <atomic>
#include <cstdint>

#include "plugin/midi/KMIDIReceiver.h"
#include "plugin/midi/KMIDIState.h"

// The MIDI side of a plug-in: the event operations, which by default hand
// each event to the registered receivers, and MIDI out. Events arrive on the
// audio thread; receivers are added and removed on other threads, so the
// list is a fixed set of atomic slots and delivering never locks or
// allocates.
class KMIDIProcessor : public KMIDIState {
public:
    static constexpr int kMaxReceivers = 16;

    virtual ~KMIDIProcessor() = default;

    // channel 0-based; velocity and value 0..1; bend -1..1.
    virtual void ProcessNote(int channel, int note, double velocity, bool on);
    virtual void ProcessAftertouch(int channel, double value);
    virtual void ProcessPitchBend(int channel, double bend);
    virtual void ProcessMIDIController(int channel, int number, double value);
    // Hands a MIDI event (status byte first, four bytes read) to the host.
    virtual void GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* bytes) {
        (void)deltaFrames, (void)bytes;
    }

    // False when all receiver places are taken.
    bool AddMIDIReceiver(KMIDIReceiver* receiver) noexcept;
    // An event being delivered at this moment may still reach the receiver,
    // so its owner keeps it alive until the next block has passed.
    void RemoveMIDIReceiver(KMIDIReceiver* receiver) noexcept;

protected:
    void PassToReceivers(const KMIDIEvent& event) const;

private:
    std::array<std::atomic<KMIDIReceiver*>, kMaxReceivers> m_receivers{};
};
