#include "plugin/core/KAutomationAdapter.h"

#include <cmath>

#include "foundation/text/NumberText.h"

void KAutomationAdapter::SetParameterIfChanged(int localIndex, double value) {
    if (std::fabs(value - GetParameter(localIndex)) >= 1e-50) SetParameter(localIndex, value, false);
}

double KAutomationAdapter::ParseParameterValueName(int, const KString& text) { return KNumberText::ParseDouble(text); }
