#include "plugin/parameters/KDisplayFunctions.h"

#include <cmath>

#include "foundation/text/NumberText.h"
#include "plugin/parameters/KTextRules.h"

namespace KDisplayFunctions {

KString Percent(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Percent(record.floating.value);
    record.floating.value = KNumberText::ParseDouble(input) * 0.01;
    return KString();
}

KString Time(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Time(record.floating.value);
    record.floating.value = KNumberText::ParseDouble(input) * 0.001;
    return KString();
}

KString Degrees(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Degrees(record.floating.value);
    record.floating.value = KNumberText::ParseDouble(input) * 0.002777777777777778;
    return KString();
}

KString LogFrequency(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Frequency(std::pow(10.0, record.floating.value), " ");
    const double hertz = KNumberText::ParseDouble(input);
    if (hertz > 0) record.floating.value = std::log10(hertz);
    return KString();
}

}  // namespace KDisplayFunctions
