#pragma once
#include "foundation/text/KString.h"

class KXMLItem;

// What a UTF-8 document cannot carry. The writer leaves out unpaired
// surrogates, and a lone high surrogate takes the next unit with it, which
// may be the quote that closes a value; the reader drops U+FEFF as a
// byte-order mark. A tree read from a damaged or UTF-16 file may hold both,
// and written as it is it would read back different, or not at all.
namespace KXMLUtf8Text {

// The text without unpaired surrogates and U+FEFF; proper pairs stay.
KString Carried(const KString& text);

// Leaves those units out of every name, attribute and text of the tree; a
// text that loses units is trimmed as the reader trims it. An element or
// attribute whose name is left empty is dropped with all it holds, and so is
// an element whose name is left starting with "?" (written, it would open a
// processing instruction); answers false when that happens to the root.
bool Clean(KXMLItem& root);

}  // namespace KXMLUtf8Text
