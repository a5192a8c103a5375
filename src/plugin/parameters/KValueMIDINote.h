#pragma once
#include "plugin/parameters/KValueNumber.h"

// A MIDI note number, shown by name and octave (60 is "C5"); typed text is
// read as a number through the format string.
class KValueMIDINote : public KValueInt {
public:
    using KValueInt::KValueInt;

    // Empty for positions that land on note 128 or above.
    KString TextFromPosition(double position) const override;

protected:
    KString TextOf(std::int32_t note) const override;
};
