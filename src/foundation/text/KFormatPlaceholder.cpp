#include "foundation/text/KFormatPlaceholder.h"

namespace {

// A small signed decimal number from at most `maxCharacters` characters (an
// optional "-" and digits), advancing `i` past them.
int ReadSmallNumber(const KString& text, int& i, int maxCharacters) {
    bool negative = false;
    int value = 0;
    for (int read = 0; read < maxCharacters && i < text.Length(); ++read, ++i) {
        const char16_t c = text[i];
        if (read == 0 && c == u'-') negative = true;
        else if (c >= u'0' && c <= u'9') value = value * 10 + (c - u'0');
        else break;
    }
    return negative ? -value : value;
}

}  // namespace

bool KFormatPlaceholder::Read(const KString& pattern, int& i) {
    index = ReadSmallNumber(pattern, i, 3);
    while (i < pattern.Length()) {
        const char16_t c = pattern[i++];
        switch (c) {
            case u'}': return true;
            case u' ':
            case u'0':
                fill = c;
                width = ReadSmallNumber(pattern, i, 2);
                break;
            case u'.': precision = ReadSmallNumber(pattern, i, 2); break;
            case u'+': flags |= kExplicitSign; break;
            case u'x': flags |= kHexadecimal; break;
            default: break;
        }
    }
    return false;
}
