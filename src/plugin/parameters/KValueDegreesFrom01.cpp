#include "plugin/parameters/KValueDegreesFrom01.h"

KString KValueDegreesFrom01::TextOf(double turns) const { return KTextRules::Degrees(turns); }

std::optional<double> KValueDegreesFrom01::ValueFromText(const KString& text) const {
    return KValueParsing::NumberTimes(text, 1.0 / 360);
}
