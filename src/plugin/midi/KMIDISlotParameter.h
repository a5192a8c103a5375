#pragma once
#include <atomic>

#include "plugin/parameters/ParameterMainBase.h"

// A 0..1 setting of a MIDI slot (a controller's value, maximal value or
// range; a note controller's minimum or maximum) as a host-automatable
// parameter, shown in percent.
class KMIDISlotParameter final : public ParameterMainBase {
public:
    KMIDISlotParameter(KAudioPlugin* owner, KString name, std::atomic<double>& field, double defaultValue)
        : ParameterMainBase(owner, std::move(name), KString()), m_field(field), m_default(defaultValue) {}

    void SetParameter(int localIndex, double value, bool quiet) override;
    double GetParameter(int) override { return m_field.load(std::memory_order_relaxed); }
    double GetParameterDefaultValue(int) override { return m_default; }
    KString GetParameterValueName(int localIndex) override;
    KString GetParameterValueNameFrom01(int localIndex, double value) override;
    double ParseParameterValueName(int localIndex, const KString& text) override;

private:
    std::atomic<double>& m_field;
    double m_default;
};
