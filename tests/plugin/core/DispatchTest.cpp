#include <gtest/gtest.h>

#include "plugin/core/KAudioEffectPlugin.h"

namespace {

class CountingEffect final : public KAudioEffectPlugin {
public:
    CountingEffect() {
        m_record = KParameterRecord::Float("x", "x", 0, 1, 0.5);
        m_record.SetFlag(KParameterFlag::FullUpdate, false);
        m_parameters.records = &m_record;
        m_parameters.recordCount = 1;
    }
    int InitProcessing(int channels, double rate) override {
        channelsSeen = channels;
        rateSeen = rate;
        return 42;
    }
    void OnParameterChanged(int index) override { changed = index; }
    void OnParametersChanged() override { ++fullUpdates; }
    void Process(KProcessingContext*, float**, float** outputs, int n) override { outputs[0][0] = float(n); }
    void Skip(int n) override { skipped += n; }

    int channelsSeen = 0, changed = -2, fullUpdates = 0, skipped = 0;
    double rateSeen = 0;
    KParameterRecord m_record;
};

std::intptr_t Recorder(void* instance, std::int32_t opcode, std::int64_t* parameters) {
    auto* calls = static_cast<std::int64_t*>(instance);
    calls[0] = opcode;
    calls[1] = parameters ? parameters[1] : -7;
    return 123;
}

TEST(Dispatch, HandleWithoutEntryAnswersMinusOne) {
    CountingEffect effect;
    KPluginCallBlock block;
    EXPECT_EQ(effect.CallEntry(2, block.words), -1);
    std::int64_t calls[2] = {};
    block = KPluginCallBlock(reinterpret_cast<std::int64_t>(calls), reinterpret_cast<std::int64_t>(&Recorder));
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::SetEntryPoint, block.words), 0);
    KPluginCallBlock argument(55);
    EXPECT_EQ(effect.CallEntry(9, argument.words), 123);
    EXPECT_EQ(calls[0], 9);
    EXPECT_EQ(calls[1], 55);
}

TEST(Dispatch, ArgumentsStandTwoWordsApartAfterALeadingWord) {
    CountingEffect effect;
    double rate = 48000;
    // Words 0, 2, 4 hold garbage that must not be read as arguments.
    std::int64_t block[8] = {-1, 6, -1, reinterpret_cast<std::int64_t>(&rate), -1, -1, -1, -1};
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::InitProcessing, block), 42);
    EXPECT_EQ(effect.channelsSeen, 6);
    EXPECT_DOUBLE_EQ(effect.rateSeen, 48000);
    EXPECT_EQ(effect.fullUpdates, 1);  // InitProcessing is followed by a full update

    float out0[1] = {};
    float* outputs[] = {out0};
    std::int64_t process[8] = {-1, 0, -1, 0, -1, reinterpret_cast<std::int64_t>(outputs), -1, 17};
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::Process, process), 0);
    EXPECT_FLOAT_EQ(out0[0], 17.0f);

    std::int64_t skip[8] = {-1, 300, -1, 0, 0, 0, 0, 0};
    effect.Dispatch(KPluginOpcode::Skip, skip);
    EXPECT_EQ(effect.skipped, 300);
}

TEST(Dispatch, ParameterChangedRunsAFullUpdateOnlyWhenNeeded) {
    CountingEffect effect;
    KPluginCallBlock inside(0);
    effect.Dispatch(KPluginOpcode::ParameterChanged, inside.words);
    EXPECT_EQ(effect.changed, 0);
    EXPECT_EQ(effect.fullUpdates, 0);  // the record has no full-update flag
    KPluginCallBlock atCount(1);       // index equal to the record count
    effect.Dispatch(KPluginOpcode::ParameterChanged, atCount.words);
    EXPECT_EQ(effect.fullUpdates, 1);
    KPluginCallBlock negative(-1);
    effect.Dispatch(KPluginOpcode::ParameterChanged, negative.words);
    EXPECT_EQ(effect.fullUpdates, 2);
}

TEST(Dispatch, QueriesAndUnknownOpcodes) {
    CountingEffect effect;
    KPluginCallBlock block;
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::GetParameters, block.words),
              reinterpret_cast<std::int64_t>(&effect.GetParameters()));
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::AcceptsProcessing, block.words), 1);
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::Latency, block.words), 0);
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::Query14, block.words), -1);
    EXPECT_EQ(effect.Dispatch(KPluginOpcode::Query20, block.words), -1);
    EXPECT_EQ(effect.Dispatch(8, block.words), -1);
    EXPECT_EQ(effect.Dispatch(99, block.words), -1);
    EXPECT_EQ(effect.Dispatch(108, block.words), -1);
}

}  // namespace
