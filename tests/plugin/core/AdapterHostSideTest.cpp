// What the adapter does toward the host and beside the effect: automation
// and MIDI out, latency reports, the processing hooks and the editor's work.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/parameters/KDisplayFunctions.h"
#include "support/RecordsEffect.h"
#include "support/SilentHost.h"

namespace {

std::vector<std::string> gCalls;

class CountingEffect final : public RecordsEffect<1> {
public:
    CountingEffect() {
        m_records[0] = KParameterRecord::Float("Gain", "gain", 0, 2, 1, KDisplayFunctions::Percent);
    }
    int InitProcessing(int, double) override { return 0; }
    void InitProcessingGUI() override { ++guiInitialisations; }
    void Process(KProcessingContext*, float**, float**, int) override { gCalls.push_back("process"); }
    void ProcessUpdate() override { ++updates; }
    int Latency() override { return latency; }
    void Skip(int) override {}

    int guiInitialisations = 0;
    int updates = 0;
    int latency = 0;
};

class HookedAdapter final : public KAudioEffectPluginToAudioPluginAdapter {
public:
    double passedRate = 0;

protected:
    void PassSampleRate(double sampleRate) override { passedRate = sampleRate; }
    void PrepareForProcessing(int sampleCount) override {
        gCalls.push_back("prepare " + std::to_string(sampleCount));
    }
};

struct RecordingHost final : SilentHost {
    std::vector<std::pair<int, double>> automation;
    std::vector<std::pair<int, int>> midi;  // offset, status byte
    int latencyReports = 0;

    void SendAutomation(std::int32_t index, double value) override { automation.emplace_back(index, value); }
    void GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* data) override {
        midi.emplace_back(deltaFrames, data[0]);
    }
    void ReportLatency() override { ++latencyReports; }
};

struct AdapterHostSide : ::testing::Test {
    AdapterHostSide() {
        gCalls.clear();
        plugin.Initialize(&TestEffectEntry<CountingEffect>);
    }
    CountingEffect& Effect() { return *static_cast<CountingEffect*>(plugin.Effect()); }
    HookedAdapter plugin;
    RecordingHost host;
};

TEST_F(AdapterHostSide, AutomationAndMidiReachTheHostOnlyWhenThereIsOne) {
    const std::uint8_t noteOn[4] = {0x90, 60, 100, 0};
    plugin.SendAutomation(0, 0.25);
    plugin.GenerateMIDIEvent(3, noteOn);
    plugin.SetHostAdapter(&host);
    plugin.SendAutomation(0, 0.75);
    plugin.GenerateMIDIEvent(17, noteOn);
    EXPECT_EQ(host.automation, (std::vector<std::pair<int, double>>{{0, 0.75}}));
    EXPECT_EQ(host.midi, (std::vector<std::pair<int, int>>{{17, 0x90}}));
}

TEST_F(AdapterHostSide, LatencyIsReportedOnlyWhenItChanges) {
    plugin.SetHostAdapter(&host);
    plugin.InitProcessing();
    EXPECT_EQ(host.latencyReports, 0);  // 0 is what a host assumes
    Effect().latency = 16;
    plugin.InitProcessing();
    EXPECT_EQ(host.latencyReports, 1);
    EXPECT_EQ(plugin.GetLatency(), 16);
    plugin.InitProcessing();
    plugin.InitProcessing();
    EXPECT_EQ(host.latencyReports, 1);
    Effect().latency = 0;
    plugin.InitProcessing();
    EXPECT_EQ(host.latencyReports, 2);
}

TEST_F(AdapterHostSide, ProcessUpdateWaitsForTheFirstProcessingSetUp) {
    plugin.ProcessUpdate();
    EXPECT_EQ(Effect().updates, 0);
    EXPECT_FALSE(plugin.ProcessingActive());
    plugin.InitProcessing();
    EXPECT_TRUE(plugin.ProcessingActive());
    plugin.ProcessUpdate();
    EXPECT_EQ(Effect().updates, 1);
}

TEST_F(AdapterHostSide, SetUpPassesTheEffectsRateAndEachHostBlockIsPreparedOnce) {
    plugin.SetSampleRate(48000);
    plugin.SetUpsamplingFactor(2);  // runs the set-up: the effect runs at 2 x 48000
    EXPECT_DOUBLE_EQ(plugin.passedRate, 96000);

    float in[8] = {}, out[8] = {};
    float* inputs[] = {in, in};
    float* outputs[] = {out, out};
    plugin.BeginBlock(inputs, outputs, 13, true);  // a host block cut into two sub-blocks
    plugin.Process(inputs, outputs, 8);
    plugin.Process(inputs, outputs, 5);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"prepare 13", "process", "process"}));
}

TEST_F(AdapterHostSide, EditorWorkIsQueuedOnlyWhileAnEditorIsOpen) {
    plugin.InitProcessing();
    plugin.RunEditorNotifications();
    EXPECT_EQ(Effect().guiInitialisations, 0);

    plugin.SetEditorNotifications(true);
    plugin.InitProcessing();
    plugin.InitProcessing();
    EXPECT_EQ(Effect().guiInitialisations, 0);  // it runs on the editor's thread, not here
    plugin.RunEditorNotifications();
    EXPECT_EQ(Effect().guiInitialisations, 1);  // two set-ups, one refresh
    EXPECT_TRUE(plugin.TakeEditorUpdate(0));
    plugin.RunEditorNotifications();
    EXPECT_EQ(Effect().guiInitialisations, 1);
}

}  // namespace
