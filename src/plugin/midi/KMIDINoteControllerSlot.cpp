#include "plugin/midi/KMIDINoteControllerSlot.h"

#include <cmath>

#include "plugin/midi/KAtomicField.h"
#include "plugin/midi/KMIDITarget.h"

namespace {
const KString kModeNames[KMIDINoteControllerSlot::kModeCount] = {
    "Linear", "Logarithmic", "On/Off", "On/Off (all octaves)", "Switch", "Switch (all octaves)"};
}

const KString& KMIDINoteControllerSlot::ModeName(KNoteControllerMode mode) {
    const int index = int(mode);
    return kModeNames[index >= 0 && index < kModeCount ? index : 0];
}

double KMIDINoteControllerSlot::Between(double position) const noexcept {
    const double low = minimum.load(std::memory_order_relaxed);
    return low + (maximum.load(std::memory_order_relaxed) - low) * position;
}

void KMIDINoteControllerSlot::Reset() noexcept {
    enabled = false;
    channel = 0;
    mode = int(KNoteControllerMode::Logarithmic);
    note = 48;
    target.Set(-1);
    minimum = 0;
    maximum = 1;
}

void KMIDINoteControllerSlot::Store(KStorageContext& context, KMIDITarget& targets) {
    KAtomicField(context, "Enabled", enabled, false);
    target.Store(context, targets);
    int index = mode.load();
    if (context.Loading() && !context.Item().HasAttribute("Mode")) index = int(KNoteControllerMode::Logarithmic);
    context.EnumerationByName("Mode", index, kModeNames, int(KNoteControllerMode::Logarithmic));
    // States of before the modes knew only a logarithmic switch.
    if (context.Loading() && context.Item().HasAttribute("Logarithmic"))
        index = context.Item().BoolAttribute("Logarithmic", false) ? int(KNoteControllerMode::Logarithmic)
                                                                  : int(KNoteControllerMode::Linear);
    mode.store(index);
    KAtomicField(context, "Channel", channel, 0);
    KAtomicField(context, "Note", note, 48);
    KAtomicUnitField(context, "Value", minimum, 0.0);
    KAtomicUnitField(context, "MaxValue", maximum, 1.0);
}

namespace KNotePitch {

double Frequency(int note, double bendSemitones) noexcept {
    return kNote60Frequency * std::exp2((note + bendSemitones - 60) / 12);
}

double LinearPosition(double frequency) noexcept { return (frequency - 20) * 5.005005005005005e-05; }

double LogarithmicPosition(double frequency) noexcept { return (std::log10(frequency) - 1.3010299956639813) / 3; }

}  // namespace KNotePitch
