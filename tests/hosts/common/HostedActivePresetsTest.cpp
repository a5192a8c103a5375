#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "hosts/common/KHostedPlugin.h"
#include "plugin/presets/KActivePresetMorph.h"
#include "support/SilentHost.h"

namespace {

int Depth0(KHostedPlugin& hosted) {
    for (int i = 0; i < hosted.ParameterCount(); ++i)
        if (hosted.ParameterID(i).ToUTF8() == "depth0") return i;
    return -1;
}

class CountingHost final : public SilentHost {
public:
    void ParametersChanged() override { ++parametersChanged; }
    int parametersChanged = 0;
};

TEST(HostedActivePresets, SlotsSwitchBeforeTheCallReturnsAndTheHostHearsOfEachSwitch) {
    auto hosted = KHostedPlugin::Create();
    const int kDepth0 = Depth0(*hosted);
    CountingHost host;
    hosted->SetHostAdapter(&host);
    hosted->SetParameter(kDepth0, 0.25);
    hosted->RequestActivePreset(1);
    EXPECT_EQ(hosted->ActivePresetIndex(), 1);
    EXPECT_EQ(host.parametersChanged, 1);
    hosted->SetParameter(kDepth0, 0.75);
    hosted->ToggleActivePresetAB();
    EXPECT_EQ(hosted->ActivePresetIndex(), 0);
    EXPECT_DOUBLE_EQ(hosted->Parameter(kDepth0), 0.25);
    hosted->RequestActivePreset(0);  // in use: nothing
    EXPECT_EQ(host.parametersChanged, 2);

    {
        // A and B differ in depth only: the middle of the top edge halves it.
        const std::unique_ptr<KActivePresetMorph> morph = hosted->BeginActivePresetMorph();
        ASSERT_NE(morph, nullptr);
        morph->MoveTo(0.5, 0);
        EXPECT_NEAR(hosted->Parameter(kDepth0), 0.5, 1e-9);
        EXPECT_TRUE(morph->Accept());  // A is a corner
    }
    hosted->SetHostAdapter(nullptr);
}

// The list is read from the maker's data folder when the plug-in is made.
TEST(HostedActivePresets, TheListComesFromTheUsersDataFolder) {
    const std::filesystem::path folder = std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "Quenlor";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Halvanepresets.active")
        << "<Halvanepresets NamePrefix=\"Live \">"
           "<preset Name=\"Half\">&lt;settings parameterdepth0=&quot;0.5&quot;/&gt;</preset>"
           "<preset Name=\"Broken\">&lt;settings</preset></Halvanepresets>";
    auto hosted = KHostedPlugin::Create();
    const int kDepth0 = Depth0(*hosted);
    std::filesystem::remove(folder / "Halvanepresets.active");

    const KStringList names = hosted->ActivePresetNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].ToUTF8(), "Live Half");
    EXPECT_EQ(names[1].ToUTF8(), "Live Broken");
    EXPECT_TRUE(hosted->LoadActivePreset(0));
    EXPECT_DOUBLE_EQ(hosted->Parameter(kDepth0), 0.5);
    EXPECT_FALSE(hosted->LoadActivePreset(1));
    EXPECT_FALSE(hosted->LoadActivePreset(2));
    EXPECT_EQ(hosted->CurrentActivePreset(), 0);
    EXPECT_DOUBLE_EQ(hosted->Parameter(kDepth0), 0.5);
}

}  // namespace
