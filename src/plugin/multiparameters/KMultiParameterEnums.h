#pragma once
#include <span>

#include "foundation/text/KString.h"

// How a multiparameter's position is produced.
enum class KMultiParameterMode : int { Normal = 0, Switch = 1, Trigger = 2, Banks = 3 };

// What the multiparameter's value text shows.
enum class KMultiParameterValueMode : int { Percents = 0, ByFirstParameter = 1 };

// How a position maps onto a target's range (also used by MIDI controllers).
enum class KRangeMode : int { UpAndDown = 0, FullRange = 1, UpOnly = 2, DownOnly = 3, Interval = 4 };

// The display and stored names of the enumerations, in index order.
namespace KMultiParameterTexts {

std::span<const KString> Modes();
std::span<const KString> ValueModes();
std::span<const KString> RangeModes();

}  // namespace KMultiParameterTexts
