#pragma once
#include "plugin/parameters/KValueNumber.h"

// A linear gain, shown and typed in decibels ("-6.02 dB", "silence" for 0).
class KValueVolume : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

protected:
    KString TextOf(double gain) const override;
    std::optional<double> ValueFromText(const KString& text) const override;
};
