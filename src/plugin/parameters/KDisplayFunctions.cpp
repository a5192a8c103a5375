#include "plugin/parameters/KDisplayFunctions.h"

#include <cmath>

#include "foundation/text/NumberText.h"
#include "plugin/parameters/KTextRules.h"

namespace KDisplayFunctions {
namespace {

// Stores the typed number times `scale`; a text without a number leaves the
// value as it is.
void StoreScaled(KParameterRecord& record, const KString& input, double scale) {
    double number;
    if (KNumberText::TryParseDouble(input, number)) record.SetFloatValue(number * scale);
}

}  // namespace

KString Percent(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Percent(record.floating.value);
    StoreScaled(record, input, 0.01);
    return KString();
}

KString Time(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Time(record.floating.value);
    StoreScaled(record, input, 0.001);
    return KString();
}

KString Degrees(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Degrees(record.floating.value);
    StoreScaled(record, input, 0.002777777777777778);
    return KString();
}

KString LogFrequency(KParameterRecord& record, const KString& input) {
    if (input.IsEmpty()) return KTextRules::Frequency(std::pow(10.0, record.floating.value), " ");
    double hertz;
    if (KNumberText::TryParseDouble(input, hertz) && hertz > 0) record.SetFloatValue(std::log10(hertz));
    return KString();
}

}  // namespace KDisplayFunctions
