#pragma once

// The last values of the continuous MIDI messages, written before an event
// is passed on so that anything reacting to it can read the context. All
// three are touched only on the thread that delivers MIDI (the audio thread).
struct KMIDIState {
    double channelPressure = 0;  // 0..1, the last aftertouch
    double noteVelocity = 0;     // 0..1, the last note-on or note-off velocity
    double pitchBend = 0;        // -1..1, centre 0
};
