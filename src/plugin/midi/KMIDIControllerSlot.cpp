#include "plugin/midi/KMIDIControllerSlot.h"

#include "plugin/midi/KAtomicField.h"
#include "plugin/midi/KMIDITarget.h"

void KMIDISlotTarget::Store(KStorageContext& context, KMIDITarget& target) {
    KString key = Index() >= 0 ? target.TargetKey(Index()) : KString();
    context.Field("ParameterName", key);
    if (context.Loading()) Set(target.FindTarget(key));
}

double KMIDIControllerSlot::Map(double position) const noexcept {
    const double m = invert.load(std::memory_order_relaxed) ? 1 - 2 * position : 2 * position - 1;
    const KModulationRange r{value.load(std::memory_order_relaxed), maxValue.load(std::memory_order_relaxed),
                             range.load(std::memory_order_relaxed), KRangeMode(rangeMode.load(std::memory_order_relaxed))};
    return KMapModulation(r, m);
}

void KMIDIControllerSlot::Reset() noexcept {
    enabled = false;
    channel = 0;
    controller = 1;
    target.Set(-1);
    value = 0;
    maxValue = 0;
    range = 1;
    rangeMode = int(KRangeMode::UpOnly);
    invert = false;
}

// "FullRange" holds the range mode; states of before the mode was stored
// have none and get "Up only".
void KMIDIControllerSlot::Store(KStorageContext& context, KMIDITarget& targets) {
    KAtomicField(context, "Enabled", enabled, false);
    target.Store(context, targets);
    KAtomicUnitField(context, "Value", value, 0.0);
    KAtomicUnitField(context, "MaxValue", maxValue, 0.0);
    KAtomicUnitField(context, "Range", range, 1.0);
    KAtomicField(context, "Channel", channel, 0);
    KAtomicField(context, "Controller", controller, 1);
    int mode = rangeMode.load();
    context.Field("FullRange", mode, KStorageContext::LoadDefault{int(KRangeMode::UpOnly)});
    rangeMode.store(mode);
    KAtomicField(context, "Invert", invert, false);
}
