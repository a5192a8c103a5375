#pragma once
#include "plugin/parameters/KValueNumber.h"

// A frequency in hertz on a linear scale. The value reads as the frequency
// text ("440 Hz", "12.5 kHz"); positions and typed text use the format
// string.
class KValueFrequencyLinear : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

    KString TextFromPosition(double position) const override;

protected:
    KString TextOf(double hertz) const override;
};
