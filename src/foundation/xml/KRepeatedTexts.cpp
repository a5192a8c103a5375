#include "foundation/xml/KRepeatedTexts.h"

#include <cstdint>

namespace {

// FNV-1a over the code units.
std::size_t Hash(std::u16string_view units) noexcept {
    std::uint32_t hash = 2166136261u;
    for (char16_t unit : units) hash = (hash ^ unit) * 16777619u;
    return hash;
}

bool Holds(const KString& text, std::u16string_view units) noexcept {
    if (text.Length() != int(units.size())) return false;
    for (int i = 0; i < text.Length(); ++i)
        if (text[i] != units[std::size_t(i)]) return false;
    return true;
}

}  // namespace

KString KRepeatedTexts::Get(std::u16string_view units) {
    KString& slot = m_slots[Hash(units) % kSlots];
    if (!Holds(slot, units)) slot = KString::FromUTF16(units);
    return slot;
}
