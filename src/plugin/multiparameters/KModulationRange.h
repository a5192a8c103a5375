#pragma once
#include "plugin/multiparameters/KMultiParameterEnums.h"

// The target range of a modulation: centre (or interval start) V, interval
// end M and depth R, all normalised 0..1.
struct KModulationRange {
    double value = 0.5;
    double maxValue = 1;
    double range = 1;
    KRangeMode mode = KRangeMode::UpAndDown;
};

// The normalised target value for a modulation m in -1..1 (-1 is the
// bottom of the range, 1 the top).
double KMapModulation(const KModulationRange& range, double m) noexcept;
