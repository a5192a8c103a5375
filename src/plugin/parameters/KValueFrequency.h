#pragma once
#include "plugin/parameters/KValueNumber.h"

// A frequency in hertz on a logarithmic scale: the position is linear in
// log10 of the value, so 20 Hz..20 kHz puts 632 Hz in the middle. The range
// must be above 0. A typed frequency not above 0 is refused rather than
// clamped to the minimum.
class KValueFrequency : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

    // 1.0 when the range is a single value.
    double Position() const override;
    // Moves the position by count × 0.001, within 0..1.
    bool Step(int count) override;

protected:
    KString TextOf(double hertz) const override;
    std::optional<double> ValueFromText(const KString& text) const override;
    double ValueAtPosition(double position) const override;

private:
    // Derived from the range at each use, so they can never lag behind it.
    double LogMinimum() const { return std::log10(Minimum()); }
    double LogMaximum() const { return std::log10(Maximum()); }
};
