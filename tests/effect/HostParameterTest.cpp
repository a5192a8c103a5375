#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "foundation/streams/KMemoryStream.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "support/AllocationCounter.h"

namespace {

using Effect = HalvaneAudioEffectPlugin;
constexpr int kBlock = 256;

struct Plugin {
    Plugin() {
        adapter.Initialize(&HalvaneAudioEffectPluginInterface);
        adapter.SetSampleRate(48000);
        adapter.SetMaxBlockSize(kBlock);
        adapter.InitProcessing();
    }
    void ProcessBlock() {
        float* channels[] = {left, right};
        adapter.ProcessBlock(channels, channels, kBlock, true);
    }
    KAudioEffectPluginToAudioPluginAdapter adapter;
    float left[kBlock] = {};
    float right[kBlock] = {};
};

// States and presets find parameters by "ParameterName": an identifier, or
// a name that only one parameter bears. Each oscillator has its own Enable,
// Depth, Frequency and Phase, so those names alone find nothing.
TEST(ParameterLookup, FindsByIdentifierOrByAUniqueName) {
    Plugin plugin;
    KAudioPlugin& p = plugin.adapter;
    EXPECT_EQ(p.FindParameter("DEPTH1"), Effect::RecordOf(1, Effect::kDepth));
    EXPECT_EQ(p.FindParameter("modulate"), Effect::kModulate);
    EXPECT_EQ(p.FindParameter("Modulate oscillators"), Effect::kModulate);
    EXPECT_EQ(p.FindParameter("Oscillator 2"), Effect::RecordOf(1, Effect::kHeader));
    for (const char* shared : {"Enable", "Depth", "Frequency", "Phase"})
        EXPECT_EQ(p.FindParameter(KString::FromBytes(shared)), -1) << shared;
}

// Strings and memory streams take their blocks from the library's allocator
// table, not from operator new; real-time checks must see those too.
TEST(Allocations, TheCounterSeesTheLibrarysOwnHeap) {
    std::size_t before = AllocationCounter::Count();
    const KString text = KString::FromUTF8("not a borrowed literal");
    EXPECT_GT(AllocationCounter::Count(), before);

    KMemoryStream stream;
    before = AllocationCounter::Count();
    stream.Write("0123456789", 10);
    EXPECT_GT(AllocationCounter::Count(), before);
}

// Automation arrives on the audio thread between blocks: every kind of
// parameter (switches, floats, the generator wrappers) is set without an
// allocation, and so is the block that takes the changes up.
TEST(Allocations, HostParameterChangesOnTheAudioThreadAllocateNothing) {
    Plugin plugin;
    for (int b = 0; b < 2; ++b) plugin.ProcessBlock();
    const int count = plugin.adapter.GetParameterCount();
    for (double x : {0.25, 0.75}) {
        const std::size_t before = AllocationCounter::Count();
        for (int i = 0; i < count; ++i) plugin.adapter.SetParameter(i, x);
        EXPECT_EQ(AllocationCounter::Count() - before, 0u) << "setting " << x;
        plugin.ProcessBlock();
        EXPECT_EQ(AllocationCounter::Count() - before, 0u) << "block after " << x;
    }
}

// Automation from the host's user-interface thread while blocks run: the
// values are shared without locks, which ThreadSanitizer checks.
TEST(SharedValues, ParameterChangesDuringProcessingAreRaceFree) {
    Plugin plugin;
    std::atomic<bool> done{false};
    std::thread automation([&] {
        for (int round = 0; round < 200; ++round)
            for (int i = 0; i <= Effect::kRecordCount; ++i)  // the records and the first shape wrapper
                plugin.adapter.SetParameter(i, (round % 10) / 9.0);
        done = true;
    });
    int blocks = 0;
    while (!done || blocks < 10) {
        plugin.ProcessBlock();
        ++blocks;
    }
    automation.join();
    for (float sample : plugin.left) ASSERT_TRUE(std::isfinite(sample));
}

}  // namespace
