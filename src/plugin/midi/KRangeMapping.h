#pragma once
#include "foundation/text/KString.h"

// How a control position spreads over a target parameter's 0..1 range.
enum class KRangeMode : int { UpAndDown = 0, FullRange = 1, UpOnly = 2, DownOnly = 3, Interval = 4 };

namespace KRangeMapping {

constexpr int kModeCount = 5;
const KString& ModeName(KRangeMode mode);

struct Range {
    double value = 0;     // centre, or the start of the interval
    double maxValue = 0;  // end of the interval
    double range = 1;     // depth
    KRangeMode mode = KRangeMode::FullRange;
};

// The target value for m in -1..1 (the control position 0..1 as 2p - 1,
// already inverted when the control inverts).
double Map(const Range& range, double m) noexcept;

}  // namespace KRangeMapping
