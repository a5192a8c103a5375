#pragma once
#include <string_view>

#include "foundation/text/KString.h"

// The six character references of the XML dialect, used both ways:
// "&amp;", "&lt;", "&gt;", "&apos;", "&quot;" and "&#10;" (line feed).
namespace KXMLEntities {

// Appends `text` with each of the six characters written as its reference.
void AppendEscaped(KString& out, const KString& text);
// Replaces each reference, its name matched case-insensitively, by its
// character; an ampersand that starts none of them is kept as it is.
KString Decode(std::u16string_view text);

}  // namespace KXMLEntities
