#include "plugin/KValuePan.h"

KString KValuePan::TextFromPosition(double position) const { return TextOf(float(ValueAtPosition(position))); }

KString KValuePan::TextOf(double pan) const { return KTextRules::Pan(pan); }

std::optional<double> KValuePan::ValueFromText(const KString& text) const {
    const std::optional<double> percent = KValueParsing::Number(text);
    if (!percent) return std::nullopt;
    return *percent * 0.01;
}
