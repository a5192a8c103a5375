#include "plugin/parameters/KValueTimeMS.h"

KString KValueTimeMS::TextOf(double seconds) const { return KTextRules::Time(seconds); }

std::optional<double> KValueTimeMS::ValueFromText(const KString& text) const {
    return KValueParsing::NumberTimes(text, 0.001);
}
