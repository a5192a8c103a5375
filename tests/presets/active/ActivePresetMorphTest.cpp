#include <gtest/gtest.h>

#include "plugin/presets/KActivePresetMorph.h"
#include "presets/active/ActivePresetTestSupport.h"

namespace {

using namespace active_test;

// Slots A to D hold the given depths and frequencies (normalised); the
// plug-in ends on D.
void FillCorners(KQuenlorAudioEffectPlugin& plugin, const std::array<double, 4>& depths,
                 const std::array<double, 4>& frequencies) {
    for (int slot = 0; slot < 4; ++slot) {
        SwitchTo(plugin, slot);
        plugin.SetParameter(kDepth0, depths[std::size_t(slot)]);
        plugin.SetParameter(kFrequency0, frequencies[std::size_t(slot)]);
    }
}

std::vector<double> AllParameters(KAudioPlugin& plugin) {
    std::vector<double> values;
    for (int i = 0; i < plugin.GetParameterCount(); ++i) values.push_back(plugin.GetParameter(i));
    return values;
}

TEST(ActivePresetMorph, BlendsTheFourSlotsIntoTheLiveParameters) {
    auto plugin = MakePlugin();
    FillCorners(*plugin, {0, 1, 0, 1}, {0.2, 0.4, 0.6, 0.8});
    CountingHost host;
    plugin->SetHostAdapter(&host);

    const std::vector<double> before = AllParameters(*plugin);
    KActivePresetMorph morph(*plugin);
    EXPECT_EQ(AllParameters(*plugin), before);  // reading the slots changed nothing live

    // Depth 0, 1, 0, 1 at (0.25, 0.5): left 0, right 1, 0.75 * 0 + 0.25 * 1.
    morph.MoveTo(0.25, 0.5);
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.25, 1e-9);
    // Frequency 0.2, 0.4, 0.6, 0.8: left 0.4, right 0.6, 0.75 * 0.4 + 0.25 * 0.6.
    EXPECT_NEAR(plugin->GetParameter(kFrequency0), 0.45, 1e-9);
    // The host heard of the two parameters that moved, and of nothing else.
    ASSERT_EQ(host.automation.size(), 2u);
    EXPECT_EQ(host.automation[0].first, kDepth0);
    EXPECT_NEAR(host.automation[0].second, 0.25, 1e-9);
    EXPECT_EQ(host.automation[1].first, kFrequency0);

    morph.MoveTo(0, 0);  // A
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0, 1e-9);
    EXPECT_NEAR(plugin->GetParameter(kFrequency0), 0.2, 1e-9);
    morph.MoveTo(2, 1.5);  // held at D
    EXPECT_NEAR(plugin->GetParameter(kFrequency0), 0.8, 1e-9);
    plugin->SetHostAdapter(nullptr);
}

TEST(ActivePresetMorph, CancelBringsBackTheSettingsOfTheOpening) {
    auto plugin = MakePlugin();
    FillCorners(*plugin, {0, 1, 0, 1}, {0.2, 0.4, 0.6, 0.8});
    SwitchTo(*plugin, 6);
    plugin->SetParameter(kDepth0, 0.33);
    const Bytes before = Save(*plugin);

    KActivePresetMorph morph(*plugin);
    morph.MoveTo(0.7, 0.3);
    ASSERT_NE(Save(*plugin), before);
    morph.Cancel();
    EXPECT_EQ(Save(*plugin), before);
    EXPECT_EQ(plugin->ActivePresetIndex(), 6);
}

TEST(ActivePresetMorph, AcceptingOnACornerOffersSlotE) {
    auto plugin = MakePlugin();
    FillCorners(*plugin, {0, 1, 0, 1}, {0.2, 0.4, 0.6, 0.8});
    SwitchTo(*plugin, 2);  // C
    {
        KActivePresetMorph morph(*plugin);
        morph.MoveTo(0.5, 0.5);
        ASSERT_TRUE(morph.Accept());
        EXPECT_EQ(KActivePresetMorph::AcceptQuestion(plugin->ActivePresetIndex()).ToUTF8(),
                  "Preset C is currently selected, which means that the changes you have made using ABCD morphing "
                  "will replace it. ABCD morphing uses presets A,B,C and D, so next time you use it you would be "
                  "morphing different presets, because you are going to change one of them.<p><p><b>Would you "
                  "like to select preset E, so that the ABCD settings will be preseved?");
        morph.SelectSlotE();
    }
    EXPECT_EQ(plugin->ActivePresetIndex(), 4);
    EXPECT_EQ(plugin->ActivePresets().Requested(), 4);
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.5, 1e-9);  // the result stays live, now E's
    // C kept what it held: switching back brings depth 0 again.
    SwitchTo(*plugin, 2);
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0, 1e-9);
    SwitchTo(*plugin, 4);
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.5, 1e-9);

    SwitchTo(*plugin, 5);  // F is no corner
    KActivePresetMorph onF(*plugin);
    EXPECT_FALSE(onF.Accept());
}

}  // namespace
