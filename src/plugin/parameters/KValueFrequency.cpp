#include "plugin/parameters/KValueFrequency.h"

#include <algorithm>
#include <cmath>

double KValueFrequency::Position() const {
    if (Maximum() == Minimum()) return 1.0;
    return (std::log10(Value()) - LogMinimum()) / (LogMaximum() - LogMinimum());
}

bool KValueFrequency::Step(int count) {
    return SetFromPosition(std::clamp(Position() + count * 0.001, 0.0, 1.0));
}

KString KValueFrequency::TextOf(double hertz) const { return KTextRules::Frequency(hertz); }

std::optional<double> KValueFrequency::ValueFromText(const KString& text) const {
    const std::optional<double> hertz = KValueParsing::Number(text);
    if (!hertz || *hertz <= 0) return std::nullopt;
    return hertz;
}

double KValueFrequency::ValueAtPosition(double position) const {
    return std::pow(10.0, LogMinimum() + (LogMaximum() - LogMinimum()) * position);
}
