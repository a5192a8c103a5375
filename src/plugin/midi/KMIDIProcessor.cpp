#include "plugin/midi/KMIDIProcessor.h"

void KMIDIProcessor::ProcessNote(int channel, int note, double velocity, bool on) {
    noteVelocity = velocity;
    PassToReceivers({KMIDIEvent::Kind::Note, channel, note, velocity, on});
}

void KMIDIProcessor::ProcessAftertouch(int channel, double value) {
    channelPressure = value;
    PassToReceivers({KMIDIEvent::Kind::Aftertouch, channel, KMIDIControllerNumber::kAftertouch, value, false});
}

void KMIDIProcessor::ProcessPitchBend(int channel, double bend) {
    pitchBend = bend;
    PassToReceivers({KMIDIEvent::Kind::PitchBend, channel, KMIDIControllerNumber::kPitchBend, bend, false});
}

void KMIDIProcessor::ProcessMIDIController(int channel, int number, double value) {
    PassToReceivers({KMIDIEvent::Kind::Controller, channel, number, value, false});
}

bool KMIDIProcessor::AddMIDIReceiver(KMIDIReceiver* receiver) noexcept {
    for (auto& place : m_receivers) {
        KMIDIReceiver* empty = nullptr;
        if (place.compare_exchange_strong(empty, receiver, std::memory_order_acq_rel)) return true;
    }
    return false;
}

void KMIDIProcessor::RemoveMIDIReceiver(KMIDIReceiver* receiver) noexcept {
    for (auto& place : m_receivers) {
        KMIDIReceiver* expected = receiver;
        place.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
    }
}

void KMIDIProcessor::PassToReceivers(const KMIDIEvent& event) const {
    for (const auto& place : m_receivers)
        if (KMIDIReceiver* receiver = place.load(std::memory_order_acquire); receiver && receiver->Accepts(event.channel))
            receiver->ReceiveMIDI(event);
}
