#include "plugin/midi/KPresetSwitchTrigger.h"

#include "plugin/midi/KAtomicField.h"

int KPresetSwitchTrigger::Step(double value) noexcept {
    constexpr double kLow = 1.0 / 3, kHigh = 2.0 / 3;
    const double last = m_lastValue;
    m_lastValue = value;
    if (last >= kLow && value < kLow) return -1;
    if (last < kHigh && value >= kHigh) return 1;
    return 0;
}

void KPresetSwitchTrigger::Store(KStorageContext& context) {
    KAtomicField(context, "Enabled", enabled, false);
    KAtomicField(context, "Controller", controller, 0);
    KAtomicField(context, "Channel", channel, 0);
}
