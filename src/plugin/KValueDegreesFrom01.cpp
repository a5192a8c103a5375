#include "plugin/KValueDegreesFrom01.h"

KString KValueDegreesFrom01::TextOf(double turns) const { return KTextRules::Degrees(turns); }

std::optional<double> KValueDegreesFrom01::ValueFromText(const KString& text) const {
    const std::optional<double> degrees = KValueParsing::Number(text);
    if (!degrees) return std::nullopt;
    return *degrees * (1.0 / 360);
}
