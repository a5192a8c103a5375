#include "plugin/midi/KMIDISlotParameter.h"

#include <algorithm>

#include "foundation/text/KFormatter.h"
#include "foundation/text/NumberText.h"

void KMIDISlotParameter::SetParameter(int, double value, bool quiet) {
    m_field.store(std::clamp(value, 0.0, 1.0), std::memory_order_relaxed);
    if (!quiet && Owner()) Owner()->NeedUpdateEditor(FirstIndex());
}

KString KMIDISlotParameter::GetParameterValueName(int localIndex) {
    return GetParameterValueNameFrom01(localIndex, GetParameter(localIndex));
}

KString KMIDISlotParameter::GetParameterValueNameFrom01(int, double value) {
    return KFormatter("{0.1}%") << value * 100;
}

double KMIDISlotParameter::ParseParameterValueName(int, const KString& text) {
    return std::clamp(KNumberText::ParseDouble(text) * 0.01, 0.0, 1.0);
}
