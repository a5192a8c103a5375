#include "plugin/parameters/KValueFrequencyLog.h"

#include <cmath>

KString KValueFrequencyLog::TextOf(double logHertz) const { return KTextRules::Frequency(std::pow(10.0, logHertz)); }

std::optional<double> KValueFrequencyLog::ValueFromText(const KString& text) const {
    const std::optional<double> hertz = KValueParsing::Number(text);
    if (!hertz || *hertz <= 0) return std::nullopt;
    return std::log10(*hertz);
}
