#include <gtest/gtest.h>

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

    const SetUpAroundPresets around(*plugin);
    plugin->SetParameter(kDepth0, 0.9);

    presets.WithCurrentIndex([](KPluginPresets::Manager& library) { library.Load(0); });
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.3, 1e-12);
    EXPECT_EQ(plugin->CurrentPresetIndex(), 0);
    around.ExpectKept(*plugin);
}

}  // namespace
