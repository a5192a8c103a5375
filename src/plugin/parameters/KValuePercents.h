#pragma once
#include "plugin/parameters/KValueNumber.h"
#include "plugin/parameters/KValueStepDouble.h"

// A fraction shown and typed as a percentage: 0.25 reads "25.0%", and a typed
// "25" (or "25%") gives 0.25. Base is the numeric value object it refines.
template <typename Base>
class KValuePercentsOf : public Base {
public:
    using Base::Base;

protected:
    KString TextOf(typename Base::ValueType value) const override { return KTextRules::Percent(double(value)); }
    std::optional<double> ValueFromText(const KString& text) const override {
        return KValueParsing::NumberTimes(text, 0.01);
    }
};

using KValuePercents = KValuePercentsOf<KValueDouble>;
using KValuePercentsF = KValuePercentsOf<KValueNumber<float, double>>;
// On a grid of `step` (a fraction, 0.01 for whole percents).
using KValueStepPercents = KValuePercentsOf<KValueStepDouble>;
