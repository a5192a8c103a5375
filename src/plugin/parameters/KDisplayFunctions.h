#pragma once
#include "plugin/parameters/KParameterRecord.h"

// The framework's display functions for float records (see KDisplayFunction).
namespace KDisplayFunctions {

// Value a fraction, shown and typed as a percentage.
KString Percent(KParameterRecord& record, const KString& input);
// Value in seconds, shown and typed in milliseconds.
KString Time(KParameterRecord& record, const KString& input);
// Value in turns, shown and typed in degrees.
KString Degrees(KParameterRecord& record, const KString& input);
// Value the decimal logarithm of a frequency, shown and typed in hertz; a
// typed value not above 0 leaves the value unchanged.
KString LogFrequency(KParameterRecord& record, const KString& input);

}  // namespace KDisplayFunctions
