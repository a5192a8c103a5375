#pragma once
#include <cstdint>

#include "foundation/text/KString.h"

// One "{index specification}" placeholder of a format template, read the same
// way by KFormatter (which fills it in) and KFormatScanner (which reads it back).
struct KFormatPlaceholder {
    static constexpr std::uint8_t kHexadecimal = 1;
    static constexpr std::uint8_t kExplicitSign = 2;

    int index = 0;
    std::uint8_t flags = 0;
    int width = 0;
    char16_t fill = u' ';
    int precision = 4;

    // Reads index and specification from `i`, just behind the "{", up to and
    // including the closing "}". False when the template ends first.
    //   index: at most 3 characters, an optional "-" and digits;
    //   " " or "0": the fill character, then the width (at most 2 characters);
    //   ".": the precision (at most 2 characters);
    //   "+": explicit sign; "x": hexadecimal;
    //   anything else is skipped, so ";" separates and a bare digit other
    //   than 0 does nothing ("{0;.2}", "{0;+.02}", "{0;05}").
    bool Read(const KString& pattern, int& i);
};
