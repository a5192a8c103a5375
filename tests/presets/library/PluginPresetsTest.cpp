#include <gtest/gtest.h>

#include "plugin/pipeline/KChannelModes.h"
#include "presets/active/ActivePresetTestSupport.h"
#include "presets/library/KPluginPresets.h"
#include "presets/library/PresetTestSupport.h"

namespace {

using namespace active_test;

// A preset holds the settings, not the host-side set-up around them nor
// the slots the user switches between.
TEST(PluginPresets, LoadingAPresetLeavesPipelineSettingsAndSlotsAlone) {
    auto plugin = MakePlugin();
    KPluginPresets presets(*plugin, PathText(TestFolder("plugin-presets") / "Halvanepresets.xml"));
    plugin->SetParameter(kDepth0, 0.3);
    presets.Library().StoreNew("Quiet", "");

    SwitchTo(*plugin, 2);
    plugin->SetUpsamplingFactor(4);
    plugin->SetChannelMode(KChannelModes::MidSide);
    plugin->SetBypass(true);
    plugin->SetParameter(kDepth0, 0.9);
    std::vector<std::string> slots;
    for (int i = 0; i < KActivePresetSlots::kCount; ++i) slots.push_back(Text(plugin->ActivePresets().Slot(i)));

    presets.WithCurrentIndex([](KPluginPresets::Manager& library) { library.Load(0); });
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.3, 1e-12);
    EXPECT_EQ(plugin->CurrentPresetIndex(), 0);
    EXPECT_EQ(plugin->PipelineSettings().upsampling, 4);
    EXPECT_EQ(plugin->PipelineSettings().channelMode, KChannelModes::MidSide);
    EXPECT_TRUE(plugin->Bypass());
    EXPECT_EQ(plugin->ActivePresetIndex(), 2);
    for (int i = 0; i < KActivePresetSlots::kCount; ++i)
        EXPECT_EQ(Text(plugin->ActivePresets().Slot(i)), slots[std::size_t(i)]) << "slot " << i;
}

}  // namespace
