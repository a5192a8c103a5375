#include "plugin/parameters/KValuePan.h"

KString KValuePan::TextFromPosition(double position) const { return TextOf(float(ValueAtPosition(position))); }

KString KValuePan::TextOf(double pan) const { return KTextRules::Pan(pan); }

std::optional<double> KValuePan::ValueFromText(const KString& text) const {
    return KValueParsing::NumberTimes(text, 0.01);
}
