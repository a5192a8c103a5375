#include "plugin/parameters/KValueFrequencyLinear.h"

KString KValueFrequencyLinear::TextFromPosition(double position) const {
    return FormattedText(ValueAtPosition(position));
}

KString KValueFrequencyLinear::TextOf(double hertz) const { return KTextRules::Frequency(hertz); }
