#pragma once
#include <array>
#include <cstddef>
#include <string_view>

#include "foundation/text/KString.h"

// Names and short values repeat throughout a document ("Item0", "value",
// "1"): the parser keeps the last string made in each of a few hundred hash
// slots and hands out shared copies, so that most of them cost no
// allocation. A slot that holds another text is simply replaced.
class KRepeatedTexts {
public:
    KString Get(std::u16string_view units);

private:
    static constexpr std::size_t kSlots = 512;

    std::array<KString, kSlots> m_slots;
};
