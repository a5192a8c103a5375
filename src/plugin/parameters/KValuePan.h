#pragma once
#include "plugin/parameters/KValueNumber.h"

// A stereo position from -1 (left) to +1 (right), shown as "50% left",
// "center" or "99% right"; a typed number is a percentage, positive to the
// right.
class KValuePan : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

    // The text of the position rounded to a 32-bit float, as the host's
    // parameter would hold it.
    KString TextFromPosition(double position) const override;

protected:
    KString TextOf(double pan) const override;
    std::optional<double> ValueFromText(const KString& text) const override;
};
