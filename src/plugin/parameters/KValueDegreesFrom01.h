#pragma once
#include "plugin/parameters/KValueNumber.h"

// An angle in turns (0..1), shown and typed in degrees.
class KValueDegreesFrom01 : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

protected:
    KString TextOf(double turns) const override;
    std::optional<double> ValueFromText(const KString& text) const override;
};
