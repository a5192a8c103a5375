#pragma once
#include <cstdint>

#include "foundation/text/KString.h"

// Number-to-text and text-to-number conversions shared by the format
// templates, the scanner and the parameter model. None of them depends on the
// process locale: the decimal separator is always ".".
namespace KNumberText {

// Decimal (or upper-case hexadecimal) digits of a magnitude.
KString Digits(std::uint64_t magnitude, bool hexadecimal);

// printf "%.*f" for a precision below 10, "%.*g" from 10 up.
KString Double(double value, int precision);

// atof: leading white space is skipped, the longest valid prefix is read
// (decimal or "0x" hexadecimal, "inf", "nan"), 0 when there is none; an
// overflow gives an infinity, an underflow 0.
double ParseDouble(const KString& text);
// The same reading; false when the text holds no number at all ("abc", "",
// "-"), so that callers can tell an unreadable text from a typed 0.
bool TryParseDouble(const KString& text, double& value);

// An optional "-" (counted as consumed) and digits of the radix: "0"-"9" in
// radix 10, "0"-"9", "A"-"F", "a"-"f" below the radix otherwise. The first
// other character stops; no digits give 0. Never fails.
std::int64_t ParseInteger(const KString& text, int radix, int* consumed = nullptr);

// "0"-"9", "A"-"F", "a"-"f" to 0-15; raises "Invalid character to be
// converted to a number." for any other character.
int HexDigit(char16_t c);

}  // namespace KNumberText
