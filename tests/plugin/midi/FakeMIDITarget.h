#pragma once
#include <vector>

#include "plugin/midi/KMIDITarget.h"

// Eight parameters with stored values; records every set and preset switch.
class FakeMIDITarget final : public KMIDITarget {
public:
    struct Set {
        int index;
        double value;
    };

    int MIDITargetCount() const noexcept override { return 8; }
    double GetTargetValue(int index) override { return values[std::size_t(index)]; }
    void SetTargetValue(int index, double value) override {
        values[std::size_t(index)] = value;
        sets.push_back({index, value});
    }
    KString TargetKey(int index) override { return KString("param").Append(KString::FromUTF8(std::to_string(index))); }
    int FindTarget(const KString& key) override {
        for (int i = 0; i < MIDITargetCount(); ++i)
            if (TargetKey(i).EqualsNoCase(key)) return i;
        return -1;
    }
    void SwitchPreset(int step) override { presetSteps.push_back(step); }

    std::vector<double> values = std::vector<double>(8, 0.0);
    std::vector<Set> sets;
    std::vector<int> presetSteps;
};
