#include "plugin/KValueTimeMS.h"

KString KValueTimeMS::TextOf(double seconds) const { return KTextRules::Time(seconds); }

std::optional<double> KValueTimeMS::ValueFromText(const KString& text) const {
    const std::optional<double> milliseconds = KValueParsing::Number(text);
    if (!milliseconds) return std::nullopt;
    return *milliseconds * 0.001;
}
