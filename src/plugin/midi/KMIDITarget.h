#pragma once
#include "foundation/text/KString.h"

// What MIDI controllers drive: the plug-in's host parameters (by host index,
// values 0..1) and the preset switching.
class KMIDITarget {
public:
    virtual ~KMIDITarget() = default;
    virtual int MIDITargetCount() const noexcept = 0;
    virtual double GetTargetValue(int index) = 0;
    virtual void SetTargetValue(int index, double value) = 0;
    // The stored key of a parameter, and the index of a stored key (-1 when
    // no parameter has it).
    virtual KString TargetKey(int index) = 0;
    virtual int FindTarget(const KString& key) = 0;
    // step -1: previous preset, +1: next. Called on the audio thread.
    virtual void SwitchPreset(int step) = 0;
};
