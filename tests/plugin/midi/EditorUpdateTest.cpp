#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <chrono>
#include <thread>

#include "support/ThreadCount.h"
#include "MIDIPluginSupport.h"
#include "plugin/core/KAutomationUpdateThread.h"
#include "plugin/midi/KMIDISlotParameter.h"

namespace {

class CountingEditor final : public KEditorUpdateTarget {
public:
    void RequestParameterUpdate() override { requests.fetch_add(1); }
    std::atomic<int> requests{0};
};

bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST(EditorUpdates, AdaptersArePendingOnceUntilTheEditorTakesThem) {
    constexpr int kFirstController = 2 + 4 * 49;  // two records, then four multiparameters of 49
    MIDIPlugin m;
    m.plugin.SetParameter(1, 0.3);
    m.plugin.SetParameter(1, 0.4);
    m.plugin.SetParameter(kFirstController, 0.4);
    m.plugin.SetParameter(0, 0.4, true);  // quiet: no redraw
    std::vector<KAutomationAdapter*> pending;
    m.plugin.TakePendingEditorUpdates(pending);
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0]->FirstIndex(), 1);
    EXPECT_EQ(pending[1]->FirstIndex(), kFirstController);
    m.plugin.TakePendingEditorUpdates(pending);
    EXPECT_TRUE(pending.empty());
    m.plugin.SetParameter(1, 0.5);
    m.plugin.TakePendingEditorUpdates(pending);
    EXPECT_EQ(pending.size(), 1u);
}

TEST(EditorUpdates, TheThreadAsksTheEditorOnlyWhileSomethingIsPending) {
    MIDIPlugin m;
    CountingEditor editor;
    m.plugin.SetEditorUpdateTarget(&editor);
    m.plugin.SetParameter(1, 0.3);
    m.plugin.WakeAutomationUpdateThread();
    ASSERT_TRUE(WaitFor([&] { return editor.requests.load() > 0; }));
    std::vector<KAutomationAdapter*> pending;
    m.plugin.TakePendingEditorUpdates(pending);
    const int asked = editor.requests.load();
    // Three more rounds of the thread with nothing pending.
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * KAutomationUpdateThread::kPeriodMs));
    EXPECT_LE(editor.requests.load(), asked + 1);  // at most the round that raced the take
    m.plugin.SetEditorUpdateTarget(nullptr);
}

TEST(EditorUpdates, TheThreadLivesExactlyAsLongAsThePlugin) {
    LetSanitizerThreadsStart();
    const int before = ThreadsOfThisProcess();
    {
        MIDIPlugin m;
        EXPECT_TRUE(m.plugin.AutomationUpdateThread().HasThread());
        EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
    }
    EXPECT_EQ(ThreadsOfThisProcess(), before);
    for (int i = 0; i < 1000; ++i) {
        KAudioEffectPluginToAudioPluginAdapter plugin;
        plugin.Initialize(&TestEffectEntry<TwoRecordEffect>);
    }
    EXPECT_EQ(ThreadsOfThisProcess(), before);
}

TEST(EditorUpdates, TemporaryAdaptersGoAwayWithTheEditorAndTheRestWithThePlugin) {
    MIDIPlugin m;
    const int count = m.plugin.GetParameterCount();
    std::atomic<double> field{0};
    EXPECT_EQ(m.plugin.FindParameter("Temporary"), -1);
    auto temporary = std::make_unique<KMIDISlotParameter>(&m.plugin, "Temporary", field, 0.0);
    KAutomationAdapter& added = *temporary;
    m.plugin.AddAutomationAdapter(std::move(temporary), true);
    EXPECT_EQ(m.plugin.GetParameterCount(), count + 1);
    EXPECT_EQ(m.plugin.FindParameter("Temporary"), count);
    m.plugin.SetParameter(count, 0.5);  // pending for the editor
    m.plugin.DestroyTemporaryAutomationAdapters();
    EXPECT_EQ(m.plugin.GetParameterCount(), count);
    EXPECT_EQ(m.plugin.FindParameter("Temporary"), -1);
    std::vector<KAutomationAdapter*> pending;
    m.plugin.TakePendingEditorUpdates(pending);
    EXPECT_EQ(std::count(pending.begin(), pending.end(), &added), 0);
    const KString first = m.plugin.GetParameterID(0);
    m.plugin.ClearAutomationAdapters();
    EXPECT_EQ(m.plugin.GetParameterCount(), 0);
    EXPECT_EQ(m.plugin.FindParameter(first), -1);
    m.plugin.SetParameter(0, 0.5);  // nothing left to find: harmless
}

}  // namespace
