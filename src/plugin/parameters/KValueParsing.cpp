#include "plugin/parameters/KValueParsing.h"

#include <cmath>

#include "foundation/text/KFormatScanner.h"
#include "foundation/text/NumberText.h"

namespace KValueParsing {

namespace {

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

bool StartsWithNumber(const KString& text) noexcept {
    int i = 0;
    while (i < text.Length() && text[i] <= u' ') ++i;
    if (i < text.Length() && (text[i] == u'-' || text[i] == u'+')) ++i;
    if (i < text.Length() && text[i] == u'.') ++i;
    return i < text.Length() && IsDigit(text[i]);
}

}  // namespace

std::optional<double> Number(const KString& text) {
    if (!StartsWithNumber(text)) return std::nullopt;
    const double number = KNumberText::ParseDouble(text);
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

std::optional<double> NumberTimes(const KString& text, double factor) {
    const std::optional<double> number = Number(text);
    if (!number) return std::nullopt;
    return *number * factor;
}

std::optional<double> NumberAgainstFormat(const KString& format, const KString& text) {
    // Blanks around the typed text would otherwise end the number before it starts.
    KFormatScanner scanner(format, text.Trimmed());
    if (scanner.ArgumentCount() != 1) return std::nullopt;
    KString typed;
    scanner >> typed;
    return Number(typed);
}

}  // namespace KValueParsing
