#include "plugin/parameters/KValueVolume.h"

#include <cmath>

KString KValueVolume::TextOf(double gain) const { return KTextRules::Decibel(gain); }

std::optional<double> KValueVolume::ValueFromText(const KString& text) const {
    const std::optional<double> decibels = KValueParsing::Number(text);
    if (!decibels) return std::nullopt;
    return std::pow(10.0, *decibels * 0.05);
}
