#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "presets/active/ActivePresetTestSupport.h"
#include "ui/editor/KEditorModel.h"
#include "ui/editor/KEditorPresets.h"

namespace {

using namespace active_test;

// The editor's browser works on the user's library in the maker's data
// folder, which the test points at a folder of its own.
std::filesystem::path DataFolder(const std::string& test) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    const std::filesystem::path folder = std::filesystem::path(root ? root : "/tmp") / "editor-presets" / test;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    return folder;
}

// A preset holds the settings, not the host-side set-up around them nor the
// active-preset slots; the host hears of a load, and the plug-in's current
// preset (which the MIDI preset trigger steps from and the state keeps) is
// the one the browser loaded.
TEST(EditorPresets, LoadingAPresetLeavesPipelineSettingsAndSlotsAloneAndTellsTheHost) {
    const auto folder = DataFolder("pipeline");
    auto plugin = MakePlugin();
    CountingHost host;
    plugin->SetHostAdapter(&host);
    KEditorModel model(*plugin);
    KEditorPresets presets(model);
    plugin->SetParameter(kDepth0, 0.3);
    presets.SaveAs("Quiet");
    ASSERT_TRUE(presets.Message().IsEmpty()) << presets.Message().ToUTF8();
    ASSERT_TRUE(std::filesystem::exists(folder / "Quenlor" / "Halvanepresets.xml"));

    const SetUpAroundPresets around(*plugin);
    plugin->SetParameter(kDepth0, 0.9);
    plugin->SetCurrentPresetIndex(-1);
    const int told = host.parametersChanged;

    presets.Load(0);
    ASSERT_TRUE(presets.Message().IsEmpty()) << presets.Message().ToUTF8();
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.3, 1e-12);
    around.ExpectKept(*plugin);
    EXPECT_EQ(host.parametersChanged, told + 1);
    EXPECT_EQ(plugin->CurrentPresetIndex(), 0);
    plugin->SetHostAdapter(nullptr);
}

// The browser shows where the plug-in is: a preset the MIDI trigger (or a
// restored state) made current is the one "next" steps from.
TEST(EditorPresets, TheBrowserFollowsThePluginsCurrentPreset) {
    DataFolder("current");
    auto plugin = MakePlugin();
    KEditorModel model(*plugin);
    KEditorPresets presets(model);
    for (const double depth : {0.1, 0.2, 0.3}) {
        plugin->SetParameter(kDepth0, depth);
        presets.SaveAs(KString::FromUTF8("Depth " + std::to_string(depth).substr(0, 3)));
    }
    plugin->SetCurrentPresetIndex(1);
    EXPECT_EQ(presets.Current(), 1);
    EXPECT_EQ(presets.CurrentName().ToUTF8(), "Depth 0.2");
    presets.Step(+1);
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.3, 1e-12);
    EXPECT_EQ(plugin->CurrentPresetIndex(), 2);
}

}  // namespace
