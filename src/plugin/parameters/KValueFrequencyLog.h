#pragma once
#include "plugin/parameters/KValueNumber.h"

// The decimal logarithm of a frequency, shown and typed in hertz; the
// position is linear in the logarithm. A typed frequency not above 0 is
// refused.
class KValueFrequencyLog : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

protected:
    KString TextOf(double logHertz) const override;
    std::optional<double> ValueFromText(const KString& text) const override;
};
