#pragma once
#include "plugin/parameters/KValueNumber.h"

// The shape position of a signal generator (0..15 across its basic shapes),
// shown as the shape's name or the morph between two ("70% Sine, 30%
// Harmonics"); typed text is read through the format string.
class KValueSignalGeneratorShape : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

    // The text of shape position 15 × position, whatever the range.
    KString TextFromPosition(double position) const override;

protected:
    KString TextOf(double shapePosition) const override;
};
