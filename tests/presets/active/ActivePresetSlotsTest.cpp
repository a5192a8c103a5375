#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "presets/active/ActivePresetTestSupport.h"

namespace {

using namespace active_test;

TEST(ActivePresetSlots, EverySlotHoldsTheDefaultsAfterInitialisation) {
    auto plugin = MakePlugin();
    auto untouched = MakePlugin();
    const std::string defaults = StoredSettings(*untouched);
    for (int i = 0; i < KActivePresetSlots::kCount; ++i)
        EXPECT_EQ(Text(plugin->ActivePresets().Slot(i)), defaults) << "slot " << i;
    EXPECT_EQ(plugin->ActivePresetIndex(), 0);
    EXPECT_EQ(plugin->ActivePresets().Previous(), -1);
}

TEST(ActivePresetSlots, SwitchingKeepsEachSlotsOwnSettingsAndTellsTheHost) {
    auto plugin = MakePlugin();
    CountingHost host;
    plugin->SetHostAdapter(&host);
    const double defaultDepth = plugin->GetParameter(kDepth0);

    plugin->SetParameter(kDepth0, 0.25);
    plugin->ToggleActivePresetAB();  // no slot was used before
    plugin->ApplyActivePresetRequest();
    EXPECT_EQ(plugin->ActivePresetIndex(), 0);
    EXPECT_EQ(host.parametersChanged, 0);

    SwitchTo(*plugin, 1);
    EXPECT_EQ(plugin->ActivePresetIndex(), 1);
    EXPECT_EQ(plugin->ActivePresets().Previous(), 0);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(kDepth0), defaultDepth);
    EXPECT_EQ(host.parametersChanged, 1);

    plugin->SetParameter(kDepth0, 0.75);
    SwitchTo(*plugin, 0);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(kDepth0), 0.25);
    EXPECT_EQ(plugin->ActivePresets().Previous(), 1);

    // The slot in use, or one that does not exist: nothing happens.
    SwitchTo(*plugin, 0);
    SwitchTo(*plugin, 8);
    SwitchTo(*plugin, -1);
    EXPECT_EQ(plugin->ActivePresetIndex(), 0);
    EXPECT_EQ(host.parametersChanged, 2);

    // A/B: back and forth between the last two slots.
    plugin->ToggleActivePresetAB();
    plugin->ApplyActivePresetRequest();
    EXPECT_EQ(plugin->ActivePresetIndex(), 1);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(kDepth0), 0.75);
    plugin->ToggleActivePresetAB();
    plugin->ApplyActivePresetRequest();
    EXPECT_EQ(plugin->ActivePresetIndex(), 0);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(kDepth0), 0.25);
    plugin->SetHostAdapter(nullptr);
}

TEST(ActivePresetSlots, ARequestAloneIsMadeByTheUpdateThread) {
    auto plugin = MakePlugin();
    plugin->SetParameter(kDepth0, 0.25);
    plugin->RequestActivePreset(3);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (plugin->ActivePresetIndex() != 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(plugin->ActivePresetIndex(), 3);
    SwitchTo(*plugin, 0);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(kDepth0), 0.25);
}

TEST(ActivePresetSlots, TheSlotsAndTheSlotInUseTravelWithTheState) {
    auto plugin = MakePlugin();
    plugin->SetParameter(kDepth0, 0.25);
    SwitchTo(*plugin, 5);
    plugin->SetParameter(kDepth0, 0.75);
    const Bytes block = Save(*plugin);

    auto restored = MakePlugin();
    Load(*restored, block);
    EXPECT_EQ(restored->ActivePresetIndex(), 5);
    EXPECT_EQ(restored->ActivePresets().Requested(), 5);
    EXPECT_DOUBLE_EQ(restored->GetParameter(kDepth0), 0.75);
    SwitchTo(*restored, 0);
    EXPECT_DOUBLE_EQ(restored->GetParameter(kDepth0), 0.25);
    SwitchTo(*restored, 5);
    EXPECT_DOUBLE_EQ(restored->GetParameter(kDepth0), 0.75);
}

// What one processed sub-block saw of the first oscillator.
struct Seen {
    double depth = 0, frequency = 0;
    bool operator==(const Seen&) const = default;
};

class KProbePlugin : public KQuenlorAudioEffectPlugin {
public:
    void Process(float** inputs, float** outputs, int sampleCount) override {
        if (m_seen.size() < m_seen.capacity()) m_seen.push_back(Now());
        m_processed.fetch_add(1);
        KQuenlorAudioEffectPlugin::Process(inputs, outputs, sampleCount);
    }
    Seen Now() {
        const HalvaneAudioEffectPlugin& effect = EffectOf(*this);
        return {effect.Record(kDepth0).floating.value, effect.Record(kFrequency0).floating.value};
    }
    std::vector<Seen> m_seen;  // written by the audio thread only
    std::atomic<int> m_processed{0};
};

TEST(ActivePresetSlots, EveryBlockSeesOneSlotWholeWhileSwitching) {
    auto plugin = MakePlugin<KProbePlugin>();
    plugin->SetParameter(kDepth0, 0.2);
    plugin->SetParameter(kFrequency0, 0.1);
    SwitchTo(*plugin, 1);
    plugin->SetParameter(kDepth0, 0.9);
    plugin->SetParameter(kFrequency0, 0.8);
    // One round through the stored text first, so that each slot's values
    // are those it will bring back every time.
    SwitchTo(*plugin, 0);
    const Seen a = plugin->Now();
    SwitchTo(*plugin, 1);
    const Seen b = plugin->Now();
    ASSERT_NE(a, b);

    plugin->m_seen.reserve(200000);
    std::atomic<bool> switching{true};
    std::thread audio([&] {
        std::vector<float> in(256, 0.25f), left(256), right(256);
        float* inputs[] = {in.data(), in.data()};
        float* outputs[] = {left.data(), right.data()};
        while (switching.load()) plugin->ProcessBlock(inputs, outputs, 256, true);
    });
    // Blocks that meet a switch are skipped, so the switches leave room
    // between them and go on until enough blocks ran (on a loaded machine
    // the audio thread may start late).
    for (int i = 0; i < 40 || (plugin->m_processed.load() < 100 && i < 20000); ++i) {
        plugin->ToggleActivePresetAB();
        plugin->ApplyActivePresetRequest();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    switching.store(false);
    audio.join();

    ASSERT_FALSE(plugin->m_seen.empty());
    for (const Seen& seen : plugin->m_seen)
        ASSERT_TRUE(seen == a || seen == b) << "depth " << seen.depth << " frequency " << seen.frequency;
    EXPECT_EQ(plugin->Now(), plugin->ActivePresetIndex() == 1 ? b : a);
}

}  // namespace
