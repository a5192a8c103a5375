#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/WaveFile.h"
#include "tools/ToolRunner.h"

namespace {

namespace fs = std::filesystem;

// Every command runs with a data folder of its own, so the user's presets
// are never touched.
struct PresetsFolder {
    explicit PresetsFolder(const std::string& name) {
        const char* root = std::getenv("HALVANE_TEST_TMP");
        folder = fs::path(root ? root : "/tmp") / ("presets-tool-" + name);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    RunResult Run(const std::string& arguments) const {
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
        return RunTool(arguments);
    }
    fs::path File() const { return folder / "Quenlor" / "Halvanepresets.xml"; }
    fs::path folder;
};

// Renders the demo through `preset` and again with `settings` set directly:
// the same sound, within the float rounding of the 12 digits a preset keeps.
void ExpectPresetSoundsLikeSettings(const PresetsFolder& p, const std::string& preset, const std::string& settings) {
    const fs::path byPreset = p.folder / "preset.wav", bySettings = p.folder / "settings.wav";
    EXPECT_EQ(p.Run("render --seconds 0.5 --preset " + preset + " " + byPreset.string()).status, 0);
    EXPECT_EQ(p.Run("render --seconds 0.5 " + settings + " " + bySettings.string()).status, 0);
    const std::vector<float> a = ReadWave(byPreset).samples, b = ReadWave(bySettings).samples;
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (std::size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a[i], b[i], 1e-6) << "sample " << i;
}

TEST(HalvanePresets, SavedPresetsListInOrderAndRenderLikeTheirSettings) {
    const PresetsFolder p("order");
    EXPECT_EQ(p.Run("presets mkdir Bass").status, 0);
    EXPECT_EQ(p.Run("presets save Low --folder Bass --set frequency0=50 --set depth0=60").status, 0);
    EXPECT_EQ(p.Run("presets save High --set frequency0=5000").status, 0);
    const RunResult list = p.Run("presets list");
    EXPECT_NE(list.output.find("0  High"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("1  Bass/Low"), std::string::npos) << list.output;
    ExpectPresetSoundsLikeSettings(p, "Bass/Low", "--set frequency0=50 --set depth0=60");
}

TEST(HalvanePresets, BadNamesAndBrokenFilesGiveOneLineAndStatusTwo) {
    const PresetsFolder p("bad");
    EXPECT_EQ(p.Run("presets save One").status, 0);
    const RunResult missing = p.Run("presets delete Two");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("There is no preset \"Two\"."), std::string::npos) << missing.output;
    EXPECT_EQ(p.Run("render --preset Two " + (p.folder / "x.wav").string()).status, 2);
    EXPECT_FALSE(fs::exists(p.folder / "x.wav"));

    // A file cut short is kept aside, never overwritten by the next save.
    std::string whole;
    {
        std::ifstream in(p.File());
        whole.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(p.File()) << whole.substr(0, whole.size() / 2);
    EXPECT_NE(p.Run("presets list").output.find("no presets"), std::string::npos);
    EXPECT_EQ(p.Run("presets save Three").status, 0);
    EXPECT_TRUE(fs::exists(p.File().string() + ".broken"));
}

TEST(HalvanePresets, RenamingKeepsThePresetsSettings) {
    const PresetsFolder p("rename");
    EXPECT_EQ(p.Run("presets mkdir Bass").status, 0);
    EXPECT_EQ(p.Run("presets save Low --folder Bass --set frequency0=50").status, 0);
    EXPECT_EQ(p.Run("presets rename Bass/Low Sub").status, 0);
    EXPECT_EQ(p.Run("presets rename-folder Bass Deep").status, 0);
    const RunResult list = p.Run("presets list");
    EXPECT_NE(list.output.find("0  Deep/Sub"), std::string::npos) << list.output;
    ExpectPresetSoundsLikeSettings(p, "Deep/Sub", "--set frequency0=50");

    const RunResult missing = p.Run("presets rename-folder Bass Other");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("There is no preset folder \"Bass\"."), std::string::npos) << missing.output;
}

TEST(HalvanePresets, FoldersTravelAsKpresetsFiles) {
    const PresetsFolder p("exchange");
    EXPECT_EQ(p.Run("presets mkdir Pads").status, 0);
    EXPECT_EQ(p.Run("presets save Warm --folder Pads --set depth0=30").status, 0);
    const fs::path exported = p.folder / "pads.kpresets";
    EXPECT_EQ(p.Run("presets export Pads " + exported.string()).status, 0);
    const fs::path other = p.folder / "other.xml";
    EXPECT_EQ(p.Run("presets --presets-file " + other.string() + " mkdir Imported").status, 0);
    EXPECT_EQ(p.Run("presets --presets-file " + other.string() + " import " + exported.string() + " Imported").status, 0);
    const RunResult list = p.Run("presets --presets-file " + other.string() + " list");
    EXPECT_NE(list.output.find("0  Imported/Warm"), std::string::npos) << list.output;
}

}  // namespace
