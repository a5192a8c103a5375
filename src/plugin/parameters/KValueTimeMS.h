#pragma once
#include "plugin/parameters/KValueNumber.h"

// A time in seconds, shown and typed in milliseconds ("20 ms").
class KValueTimeMS : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

protected:
    KString TextOf(double seconds) const override;
    std::optional<double> ValueFromText(const KString& text) const override;
};
