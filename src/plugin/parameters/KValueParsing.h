#pragma once
#include <optional>

#include "foundation/text/KString.h"

// Reading typed numbers back for value objects. A text counts as a number
// when, after leading white space and an optional sign, it starts with a
// digit or with "." and a digit; the number is then read as the framework's
// number reader reads it (the longest valid prefix, so "25%" gives 25).
// A number too large to hold ("1e999") is refused rather than clamped.
namespace KValueParsing {

std::optional<double> Number(const KString& text);
// The number times `factor`: a typed unit converted to the stored one.
std::optional<double> NumberTimes(const KString& text, double factor);

// The number typed where the single placeholder of `format` stands ("440 Hz"
// against "{0} Hz"); nothing unless the text gives exactly one argument and
// that argument is a number. Hexadecimal placeholders are not read back.
std::optional<double> NumberAgainstFormat(const KString& format, const KString& text);

}  // namespace KValueParsing
