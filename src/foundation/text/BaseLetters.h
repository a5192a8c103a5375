#pragma once
#include <span>

#include "foundation/text/KString.h"

// The (character, base letter) table behind KBaseLetter, sorted by character.
struct KBaseLetterPair {
    char16_t character;
    char16_t base;
};

std::span<const KBaseLetterPair> KBaseLetterPairs() noexcept;
