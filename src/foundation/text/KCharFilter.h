#pragma once
#include <cstdint>

// Character classes a text-entry field admits. A filter answers a mask of
// classes. Letters, decimal digits and hexadecimal letters are fixed; which
// characters count as punctuation (signs, points) and as other characters is
// up to the text-entry control.
namespace KCharFilter {

inline constexpr std::uint8_t kLetters = 1;
inline constexpr std::uint8_t kDigits = 2;
inline constexpr std::uint8_t kPunctuation = 4;
inline constexpr std::uint8_t kHexLetters = 8;
inline constexpr std::uint8_t kOther = 16;

class Interface {
public:
    virtual ~Interface() = default;
    virtual std::uint8_t AllowedClasses() const noexcept = 0;
};

template <std::uint8_t Mask>
class MaskFilterT : public Interface {
public:
    std::uint8_t AllowedClasses() const noexcept override { return Mask; }
};

using AllFilter = MaskFilterT<kLetters | kDigits | kPunctuation | kOther>;
using LettersFilter = MaskFilterT<kLetters>;
using AlphaFilter = MaskFilterT<kLetters | kDigits | kPunctuation>;
using AlphaStrictFilter = MaskFilterT<kLetters | kDigits>;
using IntegerFilter = MaskFilterT<kDigits>;
using IntegerHexaFilter = MaskFilterT<kDigits | kHexLetters>;
using FloatFilter = MaskFilterT<kDigits | kPunctuation>;

}  // namespace KCharFilter
