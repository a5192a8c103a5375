#pragma once
#include "foundation/text/KString.h"

namespace Vst2 {

// Host text buffers get UTF-8, cut to fit `capacity` bytes (terminating
// zero included) without splitting a character.
void CopyHostText(const KString& text, char* buffer, int capacity) noexcept;

// Parameter names, values and units. The interface guarantees only 8 bytes,
// but hosts pass more and 7 characters make names unreadable; 24 characters
// (the program-name size) is what hosts in practice provide and display.
constexpr int kParameterTextLength = 24;

}  // namespace Vst2
