#include "foundation/text/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "foundation/core/KException.h"

namespace {

// Value of a digit in any radix up to 16, or 16 when it is none.
int DigitValue(char16_t c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return 16;
}

bool IsCSpace(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads a saturated decimal exponent ("e-12", "p+3") starting at its sign or
// first digit; 0 when there are no digits.
long long ReadExponent(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long exponent = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), exponent).ec == std::errc::result_out_of_range)
        exponent = std::numeric_limits<long long>::max() / 2;
    return negative ? -exponent : exponent;
}

// from_chars leaves its target alone for a number outside the range of a
// double, where atof answers an infinity (too large) or 0 (too small). The
// order of magnitude decides: the place of the first significant digit
// relative to the point, plus the exponent.
bool Overflows(std::string_view number, bool hexadecimal) {
    const std::size_t mark = number.find_first_of(hexadecimal ? "pP" : "eE");
    const long long exponent = mark == std::string_view::npos ? 0 : ReadExponent(number.substr(mark + 1));
    const std::string_view mantissa = number.substr(0, mark);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = std::min(mantissa.find_first_not_of("0."), mantissa.size());
    const long long place = first < point ? (long long)(point - first) : -(long long)(first - point);
    return place * (hexadecimal ? 4 : 1) + exponent > 0;
}

// The unsigned part of an atof number: decimal, "0x" hexadecimal, "inf" or
// "nan"; 0 when no number starts here.
// `read` tells whether a number was there at all ("0x" alone counts as the
// number 0, as atof reads it).
double ParseMagnitude(std::string_view text, bool& read) {
    const bool hexadecimal = text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hexadecimal) text.remove_prefix(2);
    read = hexadecimal;
    if (text.empty() || text.front() == '-' || text.front() == '+') return 0.0;
    double value = 0.0;
    const auto format = hexadecimal ? std::chars_format::hex : std::chars_format::general;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, format);
    if (error == std::errc::result_out_of_range) {
        read = true;
        const std::string_view number(text.data(), std::size_t(end - text.data()));
        return Overflows(number, hexadecimal) ? HUGE_VAL : 0.0;
    }
    read = read || error == std::errc();
    return error == std::errc() ? value : 0.0;
}

}  // namespace

namespace KNumberText {

KString Digits(std::uint64_t magnitude, bool hexadecimal) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const unsigned radix = hexadecimal ? 16 : 10;
    char buffer[64];
    int start = sizeof buffer;
    do {
        buffer[--start] = kDigits[magnitude % radix];
        magnitude /= radix;
    } while (magnitude != 0);
    return KString::FromBytes(buffer + start, int(sizeof buffer) - start);
}

KString Double(double value, int precision) {
    // printf treats a negative precision as none given: six decimals.
    if (precision < 0) precision = 6;
    precision = std::min(precision, 99);
    // Fixed notation of the largest double with 9 decimals needs 319 characters.
    char buffer[512];
    const auto format = precision < 10 ? std::chars_format::fixed : std::chars_format::general;
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (error != std::errc()) return KString();
    return KString::FromBytes(buffer, int(end - buffer));
}

double ParseDouble(const KString& text) {
    double value = 0.0;
    TryParseDouble(text, value);
    return value;
}

bool TryParseDouble(const KString& text, double& value) {
    const std::string bytes = text.ToUTF8();
    std::string_view rest(bytes);
    while (!rest.empty() && IsCSpace(rest.front())) rest.remove_prefix(1);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
    bool read = false;
    const double magnitude = ParseMagnitude(rest, read);
    // A sign that no number follows converts nothing: plain 0, as atof gives.
    value = negative && read ? -magnitude : magnitude;
    return read;
}

std::int64_t ParseInteger(const KString& text, int radix, int* consumed) {
    int i = 0;
    const bool negative = text.Length() > 0 && text[0] == u'-';
    if (negative) ++i;
    std::uint64_t value = 0;
    for (; i < text.Length(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= radix) break;
        value = value * std::uint64_t(radix) + std::uint64_t(digit);
    }
    if (consumed) *consumed = i;
    // Wraps like the two's-complement accumulator it is; overlong digits are
    // outside any caller's range anyway.
    return negative ? std::int64_t(0 - value) : std::int64_t(value);
}

int HexDigit(char16_t c) {
    const int value = DigitValue(c);
    if (value > 15) throw KException("Invalid character to be converted to a number.");
    return value;
}

}  // namespace KNumberText
