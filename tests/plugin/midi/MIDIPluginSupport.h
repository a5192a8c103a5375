#pragma once
#include <cstdint>
#include <vector>

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/parameters/KDisplayFunctions.h"
#include "support/RecordsEffect.h"
#include "support/SilentHost.h"

// An effect with two float records, "level" (host index 0) and "tone" (1).
class TwoRecordEffect final : public RecordsEffect<2> {
public:
    TwoRecordEffect() {
        m_records[0] = KParameterRecord::Float("Level", "level", 0, 1, 0.5, KDisplayFunctions::Percent);
        m_records[1] = KParameterRecord::Float("Tone", "tone", 0, 1, 0.5, KDisplayFunctions::Percent);
    }
    int InitProcessing(int, double) override { return 0; }
    void Process(KProcessingContext*, float**, float**, int) override {}
    void Skip(int) override {}
};

// The host side: records what the plug-in sends back.
class RecordingHost final : public SilentHost {
public:
    struct Sent {
        int index;
        double value;
    };
    void SendAutomation(std::int32_t index, double value) override { sent.push_back({index, value}); }

    std::vector<Sent> sent;
};

// The plug-in with its adapter list opened up for tests.
class TestPlugin final : public KAudioEffectPluginToAudioPluginAdapter {
public:
    using KAudioPlugin::AddAutomationAdapter;
    KAutomationAdapter& AdapterOf(int index) {
        int local = 0;
        return *FindAdapter(index, local);
    }
};

struct MIDIPlugin {
    MIDIPlugin() { plugin.Initialize(&TestEffectEntry<TwoRecordEffect>); }
    TestPlugin plugin;
};
