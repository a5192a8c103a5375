#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "plugin/multiparameters/KMultiParameterAutoGain.h"
#include "MultiParameterTestSupport.h"

namespace {

using namespace multiparameter_test;
using E = TargetEffect;

struct EditingFixture : ::testing::Test, Plugin {
    KMultiParameters& Set() { return adapter.MultiParameters(); }
};

TEST_F(EditingFixture, LearningTurnsEachMovedParameterIntoAnEntryOverTheRangeMoved) {
    Multi(1).AddEntry(E::kC);
    Set().StartLearning(1, false);
    adapter.SetParameter(E::kA, 0.7);
    Set().LearnParameterMove(E::kA, 0.2, 0.7);
    Set().LearnParameterMove(E::kB, 0.9, 0.4);
    Set().LearnParameterMove(E::kB, 0.4, 0.3);               // moved on: the entry follows
    Set().LearnParameterMove(PositionIndex(2), 0.1, 0.5);    // multiparameters are not learned
    // While learning nothing is applied, so A stays where the user put it.
    EXPECT_DOUBLE_EQ(Value(E::kA), 0.7);
    Set().StopLearning();
    ProcessBlock(64);  // the learned settings stay as the user left them
    EXPECT_DOUBLE_EQ(Multi(1).SliderValue(), 1);
    EXPECT_NEAR(Value(E::kA), 0.7, 1e-12);

    ASSERT_EQ(Multi(1).EntryCount(), 3);
    Multi(1).SetSliderValue(0);
    EXPECT_NEAR(Value(E::kA), 0.2, 1e-12);
    EXPECT_NEAR(Value(E::kB), 0.9, 1e-12);
    Multi(1).SetSliderValue(1);
    EXPECT_NEAR(Value(E::kA), 0.7, 1e-12);
    EXPECT_NEAR(Value(E::kB), 0.3, 1e-12);
}

TEST_F(EditingFixture, ClearAndLearnStartsFromNoEntries) {
    Multi(0).AddEntry(E::kC);
    Set().StartLearning(0, true);
    Set().LearnParameterMove(E::kA, 0, 1);
    Set().StopLearning();
    ASSERT_EQ(Multi(0).EntryCount(), 1);
    EXPECT_EQ(Multi(0).InspectEntry(0, [](const auto& e) { return e.parameterIndex; }), E::kA);
}

TEST_F(EditingFixture, PasteCopiesSettingsAndEntriesAndApplies) {
    EXPECT_FALSE(Set().CanPaste());
    Multi(0).SetName("Source");
    Multi(0).AddEntry(E::kA);
    Multi(0).EditEntry(0, [](KMultiParameterParameter& e) {
        e.range = {.value = 0.1, .maxValue = 0.3, .mode = KRangeMode::Interval};
    });
    Multi(0).SetSliderValue(1);
    Set().Copy(0);
    Multi(0).SetName("Changed afterwards");
    Set().Paste(3);
    EXPECT_EQ(Multi(3).Name().ToUTF8(), "Source");
    EXPECT_DOUBLE_EQ(Multi(3).SliderValue(), 1);
    EXPECT_NEAR(Multi(3).EntryParameter(0, 1).value_or(-1), 0.3, 1e-12);
    adapter.SetParameter(E::kA, 0);
    Set().Paste(3);
    EXPECT_NEAR(Value(E::kA), 0.3, 1e-12);
}

// The host hears the pasted targets from the pasting (editor) thread, as it
// hears every other edit: a VST 3 host takes performEdit on that thread
// only, never from inside a block.
TEST_F(EditingFixture, PastingTellsTheHostAtOnceAndBlocksTellItNothing) {
    RecordingHost host;
    adapter.SetHostAdapter(&host);
    Multi(0).AddEntry(E::kA);
    Multi(0).EditEntry(0, [](KMultiParameterParameter& e) {
        e.range = {.value = 0.1, .maxValue = 0.3, .mode = KRangeMode::Interval};
    });
    Multi(0).SetSliderValue(1);
    Set().Copy(0);
    Set().Paste(2);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].first, E::kA);
    EXPECT_NEAR(host.sent[0].second, 0.3, 1e-12);
    ProcessBlock(64);
    EXPECT_EQ(host.sent.size(), 1u);
    adapter.SetHostAdapter(nullptr);
}

// Host automation of a multiparameter on one thread (with processing, as a
// host does it) while the editor adds, edits and deletes entries on another.
TEST_F(EditingFixture, HostAutomationAndEntryEditingOnTwoThreads) {
    Multi(0).AddEntry(E::kA);
    const int position = PositionIndex(0);
    std::atomic<bool> done{false};
    std::thread editor([&] {
        for (int i = 0; i < 300; ++i) {
            const int entry = Multi(0).AddEntry(i % 2 ? E::kB : E::kC);
            Multi(0).EditEntry(entry, [&](KMultiParameterParameter& e) { e.range.range = 0.5; });
            Multi(0).SetMode(i % 3 ? KMultiParameterMode::Normal : KMultiParameterMode::Switch);
            Multi(0).DeleteEntry(entry);
        }
        done = true;
    });
    int blocks = 0;
    while (!done || blocks < 10) {
        adapter.SetParameter(position, (blocks % 10) / 10.0);
        adapter.SetParameter(position + 3, 0.5);
        (void)adapter.GetParameterValueName(position + 1);
        ProcessBlock(64);
        ++blocks;
    }
    editor.join();
    EXPECT_EQ(Multi(0).EntryCount(), 1);
}

struct AutoGainFixture : EditingFixture {
    AutoGainFixture() {
        Multi(0).AddEntry(E::kOutputGain);
        Multi(0).AddEntry(E::kA);
        Multi(0).SetBankCount(2);
        Multi(0).SetMode(KMultiParameterMode::Banks);
        // Bank 0 passes the input at full level, bank 1 at a quarter.
        Multi(0).EditEntry(1, [](KMultiParameterParameter& e) {
            e.SetBank(0, 1.0);
            e.SetBank(1, 0.25);
        });
    }
    // Plays until the worker ends, as a host would while it runs. The
    // worker measures for a span of real time, so the bound is a time too:
    // a fast machine plays any fixed number of blocks before it is done.
    void PlayWhile(KMultiParameterAutoGain& worker) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!worker.Finished() && std::chrono::steady_clock::now() < deadline) PlaySine(480);
        worker.Stop();
    }
};

TEST_F(AutoGainFixture, EachBankGetsTheOutputGainThatEvensItsLoudness) {
    KMultiParameterAutoGain worker(adapter, Multi(0), 12, 50);
    worker.Start();
    PlayWhile(worker);
    ASSERT_TRUE(worker.Completed());
    EXPECT_DOUBLE_EQ(worker.Progress(), 1.0);
    EXPECT_FALSE(adapter.PipelineSettings().automaticGainControl);  // put back
    // Bank 0 plays at the input's level: no correction. Bank 1 plays a
    // quarter of it, 20 log10(4) = 12.04 dB too quiet: its gain goes up by
    // that much (the gain record's 0..1 position spans -24..24 dB).
    Multi(0).InspectEntry(0, [](const KMultiParameterParameter& e) {
        EXPECT_NEAR(e.Bank(0), 0.5, 0.01);
        EXPECT_NEAR(e.Bank(1), 0.5 + 12.04 / 48, 0.02);
        return 0;
    });
}

TEST_F(AutoGainFixture, StoppingEndsItEarlyAndRestoresTheGainCompensationSetting) {
    KMultiParameterAutoGain worker(adapter, Multi(0), 40, 100);
    worker.Start();
    ProcessBlock(480);
    worker.Stop();
    EXPECT_FALSE(worker.Completed());
    EXPECT_LT(worker.Progress(), 1.0);
    EXPECT_FALSE(adapter.PipelineSettings().automaticGainControl);
}

}  // namespace
