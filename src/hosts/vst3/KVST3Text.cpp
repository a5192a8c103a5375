#include "hosts/vst3/KVST3Text.h"

#include <algorithm>
#include <cstring>

namespace KVST3 {

void CopyText(char* field, std::size_t fieldSize, const char* text) noexcept {
    std::memset(field, 0, fieldSize);
    if (text) std::memcpy(field, text, std::min(std::strlen(text), fieldSize - 1));
}

void CopyText(char16_t* field, std::size_t fieldSize, const char* text) noexcept {
    std::fill(field, field + fieldSize, u'\0');
    for (std::size_t i = 0; text && text[i] && i + 1 < fieldSize; ++i) field[i] = char16_t(std::uint8_t(text[i]));
}

void CopyText(char16_t* field, std::size_t fieldSize, const KString& text) noexcept {
    std::fill(field, field + fieldSize, u'\0');
    const std::size_t count = std::min(std::size_t(text.Length()), fieldSize - 1);
    for (std::size_t i = 0; i < count; ++i) field[i] = text[int(i)];
}

KString FromHost(const char16_t* text, int limit) {
    if (!text) return KString();
    int length = 0;
    while (length < limit && text[length]) ++length;
    return KString::FromUTF16(text, length);
}

}  // namespace KVST3
