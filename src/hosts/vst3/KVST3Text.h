#pragma once
#include <cstddef>

#include "foundation/text/KString.h"
#include "hosts/vst3/abi/Vst3Types.h"

// Texts into the fixed fields of the VST 3 records: truncated to the field,
// terminated, the rest of the field zero-filled.
namespace KVST3 {

void CopyText(char* field, std::size_t fieldSize, const char* text) noexcept;
void CopyText(char16_t* field, std::size_t fieldSize, const char* text) noexcept;
void CopyText(char16_t* field, std::size_t fieldSize, const KString& text) noexcept;

template <std::size_t N>
void CopyText(char (&field)[N], const char* text) noexcept { CopyText(field, N, text); }
template <std::size_t N, class Text>
void CopyText(char16_t (&field)[N], const Text& text) noexcept { CopyText(field, N, text); }

// A host's terminated UTF-16 text, read up to `limit` units.
KString FromHost(const char16_t* text, int limit = 128);

}  // namespace KVST3
