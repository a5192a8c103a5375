#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "hosts/common/KGlobalSettings.h"
#include "hosts/common/KHostedPlugin.h"

namespace {

// Writes the maker's global settings file; removed again at the end.
class GlobalSettingsFile {
public:
    explicit GlobalSettingsFile(const std::string& content) : m_path(KGlobalSettings::FilePath().ToUTF8()) {
        std::ofstream(m_path) << content;
    }
    ~GlobalSettingsFile() { std::filesystem::remove(m_path); }

private:
    std::string m_path;
};

TEST(GlobalSettings, IntegersComeFromTheRootItemWithFallbacksForAnythingMissing) {
    EXPECT_EQ(KGlobalSettings::Integer("Surround", 7), 7);  // no file
    {
        GlobalSettingsFile file("<globalsettings Surround=\"1\" EditorMode=\"3\"/>");
        EXPECT_EQ(KGlobalSettings::Integer("surround", 0), 1);  // names match in any case
        EXPECT_EQ(KGlobalSettings::Integer("EditorMode", 0), 3);
        EXPECT_EQ(KGlobalSettings::Integer("Missing", -2), -2);
    }
    GlobalSettingsFile broken("<globalsettings Surround=");
    EXPECT_EQ(KGlobalSettings::Integer("Surround", 5), 5);
}

TEST(HostedPluginChannels, StereoNamesByDefault) {
    auto plugin = KHostedPlugin::Create();
    EXPECT_EQ(plugin->ChannelsPerBus(), 2);
    EXPECT_EQ(plugin->InputChannelName(0).ToUTF8(), "In L");
    EXPECT_EQ(plugin->InputChannelName(1).ToUTF8(), "In R");
    EXPECT_EQ(plugin->OutputChannelName(1).ToUTF8(), "Out R");
    EXPECT_TRUE(plugin->InputChannelName(2).IsEmpty());
    EXPECT_TRUE(plugin->OutputChannelName(-1).IsEmpty());
}

TEST(HostedPluginChannels, SurroundGlobalSettingGivesEightChannelBuses) {
    GlobalSettingsFile file("<globalsettings Surround=\"1\"/>");
    auto plugin = KHostedPlugin::Create();
    EXPECT_EQ(plugin->ChannelsPerBus(), 8);
    EXPECT_EQ(plugin->InputChannelName(0).ToUTF8(), "In 0");
    EXPECT_EQ(plugin->OutputChannelName(7).ToUTF8(), "Out 7");
    EXPECT_TRUE(plugin->OutputChannelName(8).IsEmpty());
}

}  // namespace
