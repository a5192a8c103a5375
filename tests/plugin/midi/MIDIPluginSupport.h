#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/core/KAudioPluginAdapter.h"
#include "plugin/parameters/KDisplayFunctions.h"

// An effect with two float records, "level" (host index 0) and "tone" (1).
class TwoRecordEffect final : public KAudioEffectPlugin {
public:
    TwoRecordEffect() {
        m_records[0] = KParameterRecord::Float("Level", "level", 0, 1, 0.5, KDisplayFunctions::Percent);
        m_records[1] = KParameterRecord::Float("Tone", "tone", 0, 1, 0.5, KDisplayFunctions::Percent);
        m_parameters.records = m_records.data();
        m_parameters.recordCount = int(m_records.size());
    }
    int InitProcessing(int, double) override { return 0; }
    void Process(KProcessingContext*, float**, float**, int) override {}
    void Skip(int) override {}

private:
    std::array<KParameterRecord, 2> m_records;
};

inline std::intptr_t TwoRecordEntry(void* instance, std::int32_t opcode, std::int64_t* parameters) {
    if (!instance) instance = static_cast<KPlugin*>(new TwoRecordEffect);
    if (opcode == KPluginOpcode::Create) return reinterpret_cast<std::intptr_t>(instance);
    return static_cast<KPlugin*>(instance)->Dispatch(opcode, parameters);
}

// The host side: records what the plug-in sends back.
class RecordingHost final : public KAudioPluginAdapter {
public:
    struct Sent {
        int index;
        double value;
    };
    void SendAutomation(std::int32_t index, double value) override { sent.push_back({index, value}); }
    void SendBypassAutomation(bool) override {}
    void GenerateMIDIEvent(std::int32_t, const std::uint8_t*) override {}
    void ReportLatency() override {}
    bool ChangeEditorSize(EditorSize) override { return false; }

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
    MIDIPlugin() { plugin.Initialize(&TwoRecordEntry); }
    TestPlugin plugin;
};
