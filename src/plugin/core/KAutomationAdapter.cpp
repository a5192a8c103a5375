#include "plugin/core/KAutomationAdapter.h"

#include <algorithm>
#include <cmath>

#include "foundation/core/Random.h"
#include "foundation/text/NumberText.h"
#include "plugin/core/KAudioPlugin.h"

void KAutomationAdapter::SetParameterIfChanged(int localIndex, double value) {
    if (std::fabs(value - GetParameter(localIndex)) >= 1e-50) SetParameter(localIndex, value, false);
}

double KAutomationAdapter::ParseParameterValueName(int, const KString& text) { return KNumberText::ParseDouble(text); }

void KAutomationAdapter::Randomize(int localIndex, double amount) {
    const double r = KRandom::NextUnit();
    const double value =
        amount < 1 ? std::clamp(GetParameter(localIndex) + (r - 0.5) * amount * 2, 0.0, 1.0) : r;
    SetParameter(localIndex, value, true);
}

void KAutomationAdapter::Randomize(double amount) {
    for (int i = 0; i < Count(); ++i)
        if (IsRandomizable(i)) Randomize(i, amount);
}

void KAutomationAdapter::SendAutomation(int localIndex) {
    if (m_plugin) SendAutomationValue(localIndex, m_plugin->GetParameter(m_firstIndex + localIndex));
}

void KAutomationAdapter::SendAutomationValue(int localIndex, double value) {
    if (m_plugin) m_plugin->SendAutomation(m_firstIndex + localIndex, value);
}

void KAutomationAdapter::SendAutomationValueWithChange(int localIndex, double value) {
    constexpr double kNudge = 1e-10;
    SendAutomationValue(localIndex, value <= kNudge ? value + kNudge : value - kNudge);
    SendAutomationValue(localIndex, value);
}

void KAutomationAdapter::SendAllAutomation() {
    for (int i = 0; i < Count(); ++i) SendAutomation(i);
}
