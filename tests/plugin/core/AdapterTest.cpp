#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/core/Diagnostics.h"
#include "foundation/core/KException.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/parameters/KDisplayFunctions.h"
#include "support/RecordsEffect.h"

namespace {

// A small effect with one record of each valued type; it counts the calls
// the adapter makes and multiplies its input by a gain.
class TestEffect final : public RecordsEffect<4> {
public:
    static inline int destroyed = 0;

    TestEffect() {
        m_records[0] = KParameterRecord::Float("Gain", "gain", 0, 2, 1, KDisplayFunctions::Percent);
        m_records[1] = KParameterRecord::GroupHeader("Group");
        m_records[2] = KParameterRecord::Integer("Steps", "steps", 0, 10, 3);
        m_records[2].SetFlag(KParameterFlag::FullUpdate, false);
        m_records[3] = KParameterRecord::OnOff("Switch", "switch", true);
    }
    ~TestEffect() override { ++destroyed; }

    int InitProcessing(int channels, double sampleRate) override {
        initChannels = channels;
        initRate = sampleRate;
        return 0;
    }
    void OnParameterChanged(int index) override { lastChanged = index; }
    void OnParametersChanged() override { ++fullUpdates; }
    void Process(KProcessingContext*, float** inputs, float** outputs, int sampleCount) override {
        for (int c = 0; c < initChannels; ++c)
            for (int s = 0; s < sampleCount; ++s)
                outputs[c][s] = inputs[c][s] * float(m_records[0].floating.value);
    }
    void Skip(int) override {}

    int initChannels = 0;
    double initRate = 0;
    int lastChanged = -1;
    int fullUpdates = 0;
};

std::intptr_t FailingEntry(void*, std::int32_t, std::int64_t*) { return 0; }

struct AdapterFixture : ::testing::Test {
    AdapterFixture() { adapter.Initialize(&TestEffectEntry<TestEffect>); }
    TestEffect& Effect() { return *static_cast<TestEffect*>(adapter.Effect()); }
    KAudioEffectPluginToAudioPluginAdapter adapter;
};

// After the records and the multiparameters come the MIDI slots'
// parameters: 32 controllers with three each, 32 note controllers with two.
TEST_F(AdapterFixture, OneHostParameterPerValuedRecordInRecordOrder) {
    // The four records, the four multiparameters (position and three
    // parameters for each of 16 entry slots), then the MIDI slots.
    ASSERT_EQ(adapter.GetParameterCount(), 4 + 4 * 49 + 96 + 64);
    EXPECT_EQ(adapter.GetParameterName(4 + 4 * 49).ToUTF8(), "Controller 1 Value");
    EXPECT_EQ(adapter.GetParameterName(4 + 4 * 49 + 159).ToUTF8(), "Note controller 32 MaxValue");
    EXPECT_EQ(adapter.GetParameterID(0).ToUTF8(), "gain");
    EXPECT_EQ(adapter.GetParameterID(1).ToUTF8(), "Group");  // no identifier: the name
    EXPECT_EQ(adapter.GetParameterType(2), 2);
    EXPECT_EQ(adapter.GetParameterType(3), 4);
    EXPECT_EQ(adapter.GetParameterValueName(0).ToUTF8(), "100.0%");
    EXPECT_DOUBLE_EQ(adapter.GetParameter(0), 0.5);
    EXPECT_DOUBLE_EQ(adapter.GetParameterDefaultValue(2), 0.3);
    EXPECT_EQ(adapter.FindParameter("STEPS"), 2);
    EXPECT_EQ(adapter.FindParameter("nothing"), -1);
}

TEST_F(AdapterFixture, IndicesOutsideTheListGoToTheNearestAdapter) {
    adapter.SetParameter(-3, 0.25);  // below the first adapter: the first
    EXPECT_DOUBLE_EQ(Effect().Record(0).floating.value, 0.5);
    adapter.SetParameter(999, 0.25);  // beyond the last first index: the last
    EXPECT_DOUBLE_EQ(adapter.GetParameter(adapter.GetParameterCount() - 1), 0.25);
}

TEST_F(AdapterFixture, ChangesNotifyAndMarkFullUpdatesPerRecordFlag) {
    adapter.SetParameter(2, 0.7);
    EXPECT_EQ(Effect().Record(2).integer.value, 7);
    EXPECT_EQ(Effect().lastChanged, 2);
    EXPECT_FALSE(Effect().GetParameters().FullUpdatePending());  // flag 0x20 cleared on that record
    EXPECT_TRUE(adapter.TakeEditorUpdate(2));
    EXPECT_FALSE(adapter.TakeEditorUpdate(2));

    adapter.SetParameter(0, 0.25);
    EXPECT_TRUE(Effect().GetParameters().FullUpdatePending());
    const int before = Effect().fullUpdates;
    float in[4] = {1, 1, 1, 1}, out[4] = {};
    float* inputs[] = {in};
    float* outputs[] = {out};
    adapter.Process(inputs, outputs, 4);
    EXPECT_EQ(Effect().fullUpdates, before + 1);
    EXPECT_FALSE(Effect().GetParameters().FullUpdatePending());

    Effect().lastChanged = -1;
    adapter.SetParameter(2, 0.1, true);  // quiet
    EXPECT_EQ(Effect().lastChanged, -1);
}

TEST_F(AdapterFixture, SetParameterIfChangedIgnoresChangesWithinOneTenMillionth) {
    adapter.SetParameter(0, 0.5);
    Effect().lastChanged = -1;
    adapter.SetParameterIfChanged(0, 0.5 + 0.9e-7);
    EXPECT_EQ(Effect().lastChanged, -1);
    adapter.SetParameterIfChanged(0, 0.5 + 1.1e-7);
    EXPECT_EQ(Effect().lastChanged, 0);
}

TEST_F(AdapterFixture, InitProcessingGivesTheEffectChannelsAndRate) {
    adapter.SetSampleRate(96000);
    adapter.InitProcessing();
    EXPECT_EQ(Effect().initChannels, 2);
    EXPECT_DOUBLE_EQ(Effect().initRate, 96000);

    float in[2][3] = {{1, 2, 3}, {4, 5, 6}}, out[2][3] = {};
    float* inputs[] = {in[0], in[1]};
    float* outputs[] = {out[0], out[1]};
    adapter.Process(inputs, outputs, 3);
    EXPECT_FLOAT_EQ(out[1][2], 6.0f);
    EXPECT_EQ(adapter.ProcessedSamples(), 3);
}

TEST_F(AdapterFixture, ChannelCountsNeverFallBelowOne) {
    adapter.SetHostChannels(0, 0);
    EXPECT_EQ(adapter.GetInputChannelCount(), 1);
    EXPECT_EQ(adapter.GetOutputChannelCount(), 1);
    EXPECT_EQ(adapter.GetProcessedInputChannelCount(), 1);
    EXPECT_EQ(adapter.GetProcessedOutputChannelCount(), 1);
    EXPECT_EQ(adapter.GetInputBusCount(), 1);
    adapter.SetHostChannels(8, 8);
    EXPECT_EQ(adapter.GetInputChannelCount(), 2);  // the effect takes two
    EXPECT_EQ(adapter.GetOutputBusCount(), 1);
}

KString ThrowingDisplay(KParameterRecord&, const KString&) { throw std::runtime_error("display failed"); }

std::vector<std::string>& Reports() {
    static std::vector<std::string> reports;
    return reports;
}

TEST_F(AdapterFixture, AFailingParameterCallIsGuardedUnderItsName) {
    Reports().clear();
    KDiagnostics::SetListener([](const KString& text) { Reports().push_back(text.ToUTF8()); });
    Effect().Record(0).display = ThrowingDisplay;
    EXPECT_EQ(adapter.GetParameterValueName(0).ToUTF8(), "");
    EXPECT_DOUBLE_EQ(adapter.ParseParameterValueName(0, "50"), 0.0);
    KDiagnostics::SetListener(nullptr);
    ASSERT_EQ(Reports().size(), 2u);
    EXPECT_EQ(Reports()[0], "SYSTEM EXCEPTION! KAudioPlugin::GetParameterValueName");
    EXPECT_EQ(Reports()[1], "SYSTEM EXCEPTION! KAudioPlugin::ParseParameterValueName");
}

TEST(Adapter, DestroysItsEffectThroughTheEntry) {
    const int before = TestEffect::destroyed;
    { KAudioEffectPluginToAudioPluginAdapter adapter; adapter.Initialize(&TestEffectEntry<TestEffect>); }
    EXPECT_EQ(TestEffect::destroyed, before + 1);
}

TEST(Adapter, AnEntryThatCreatesNothingRaisesErrorCreatingPlugin) {
    KAudioEffectPluginToAudioPluginAdapter adapter;
    try {
        adapter.Initialize(&FailingEntry);
        FAIL() << "no exception";
    } catch (const KException& e) {
        EXPECT_EQ(e.Message().ToUTF8(), "Error creating plugin.");
    }
}

TEST(Adapter, OutputGainCorrectionAdjustsTheFirstOutputGainRecord) {
    KAudioEffectPluginToAudioPluginAdapter adapter;
    adapter.Initialize(&TestEffectEntry<TestEffect>);
    EXPECT_FALSE(adapter.ApplyOutputGainCorrection(2.0));  // no record carries the flag
    KParameterRecord& gain = adapter.Effect()->Record(0);
    gain.SetFlag(KParameterFlag::OutputGain, true);
    gain.floating.value = 0;
    EXPECT_TRUE(adapter.ApplyOutputGainCorrection(std::sqrt(10.0)));  // +10 dB, clamped to the maximum 2
    EXPECT_DOUBLE_EQ(gain.floating.value, 2);
}

}  // namespace
