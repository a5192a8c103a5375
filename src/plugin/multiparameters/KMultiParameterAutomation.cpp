#include "plugin/multiparameters/KMultiParameterAutomation.h"

#include <algorithm>

#include "foundation/text/KFormatter.h"
#include "plugin/parameters/KTextRules.h"
#include "plugin/parameters/KValueParsing.h"

namespace {

const char* const kFieldNames[] = {"Value", "Max value", "Range"};
const char* const kFieldIDs[] = {"Value", "MaxValue", "Range"};
// The stored defaults of an entry's value, maximal value and range.
constexpr double kFieldDefaults[] = {0.5, 1.0, 1.0};

}  // namespace

void KMultiParameterAutomation::SetParameter(int localIndex, double value, bool quiet) {
    value = std::clamp(value, 0.0, 1.0);
    if (localIndex == 0) m_multiParameter.SetSliderValue(value, quiet);
    else m_multiParameter.SetEntryParameter(EntryOf(localIndex), FieldOf(localIndex), value, quiet);
}

double KMultiParameterAutomation::GetParameter(int localIndex) {
    if (localIndex == 0) return m_multiParameter.SliderValue();
    return m_multiParameter.EntryParameter(EntryOf(localIndex), FieldOf(localIndex))
        .value_or(kFieldDefaults[FieldOf(localIndex)]);
}

KString KMultiParameterAutomation::GetParameterName(int localIndex) {
    const int number = m_multiParameter.Number();
    if (localIndex == 0) return KFormatter("MultiParameter {0}") << number;
    return KFormatter("MultiParameter {0} {1} {2}") << number << kFieldNames[FieldOf(localIndex)]
                                                    << EntryOf(localIndex) + 1;
}

KString KMultiParameterAutomation::GetParameterID(int localIndex) {
    const int number = m_multiParameter.Number();
    if (localIndex == 0) return KFormatter("MultiParameter{0}") << number;
    return KFormatter("MultiParameter{0}{1}{2}") << number << kFieldIDs[FieldOf(localIndex)]
                                                 << EntryOf(localIndex) + 1;
}

KString KMultiParameterAutomation::GetParameterValueName(int localIndex) {
    return GetParameterValueNameFrom01(localIndex, GetParameter(localIndex));
}

KString KMultiParameterAutomation::GetParameterValueNameFrom01(int localIndex, double value) {
    if (localIndex == 0) return m_multiParameter.ValueText(value);
    return KTextRules::Percent(value);
}

// Typed values are percentages (in "By first parameter" mode too: the
// target's own units cannot be turned back into a position in general).
double KMultiParameterAutomation::ParseParameterValueName(int localIndex, const KString& text) {
    const std::optional<double> value = KValueParsing::NumberTimes(text, 0.01);
    return value ? std::clamp(*value, 0.0, 1.0) : GetParameter(localIndex);
}

void KMultiParameterAutomation::SetRedirect(int localIndex, bool on) {
    if (localIndex == 0) m_multiParameter.SetRedirect(on);
}

double KMultiParameterAutomation::GetParameterDefaultValue(int localIndex) {
    if (localIndex == 0) return m_multiParameter.DefaultValue();
    return kFieldDefaults[FieldOf(localIndex)];
}
