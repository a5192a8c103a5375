#include <gtest/gtest.h>

#include <set>
#include <string>

#include "presets/state/StateTestSupport.h"
#include "plugin/pipeline/KChannelModes.h"

namespace {

using namespace state_test;

std::set<std::string> SettingAttributes(const KXMLItem& root) {
    std::set<std::string> names;
    for (int i = 0; i < root.Attributes().Count(); ++i) {
        const std::string name = root.Attributes()[i].name.ToUTF8();
        if (name.rfind("parameter", 0) != 0) names.insert(name);
    }
    return names;
}

TEST(StateDocument, DefaultsWriteOnlyTheAlwaysWrittenAttributes) {
    auto plugin = MakePlugin();
    const auto document = Document(Save(*plugin));
    const KXMLItem& root = document->Root();
    EXPECT_EQ(root.Name().ToUTF8(), "settings");
    EXPECT_EQ(SettingAttributes(root), (std::set<std::string>{"AGC", "ChannelMode", "CurrentPresetIndex", "hqupsampling",
                                                              "PresetIndex", "upsampling", "Version"}));
    EXPECT_EQ(root.Attribute("Version", "").ToUTF8(), "461312");
    EXPECT_EQ(root.Attribute("ChannelMode", "").ToUTF8(), "Left + Right");
    EXPECT_EQ(root.Attribute("CurrentPresetIndex", "").ToUTF8(), "-1");  // no preset chosen yet
    ASSERT_NE(root.FindSubItem("Controllers"), nullptr);
    EXPECT_EQ(root.FindSubItem("Controllers")->SubItemCount(), 0);
    EXPECT_EQ(root.FindSubItem("Preset0"), nullptr);  // the slot in use travels as the settings themselves
    for (const char* slot : {"Preset1", "Preset4", "Preset7"}) EXPECT_NE(root.FindSubItem(KString::FromBytes(slot)), nullptr) << slot;
}

TEST(StateDocument, SavingIsRepeatableAndPlainXmlLoadsLikeTheBlock) {
    auto source = MakePlugin();
    source->SetParameter(4, 0.7);
    source->SetUpsamplingFactor(4);
    EffectOf(*source).Generator(1).Set(KSignalGenerator::Control::Skew, 0.25);
    const Bytes block = Save(*source);
    EXPECT_EQ(Save(*source), block);

    auto fromBlock = MakePlugin();
    Load(*fromBlock, block);
    auto fromText = MakePlugin();
    Load(*fromText, PlainText(block));
    EXPECT_EQ(Save(*fromBlock), block);
    EXPECT_EQ(Save(*fromText), block);
}

TEST(StateDocument, MissingFieldsLoadTheirLoadDefaults) {
    auto plugin = MakePlugin();
    plugin->SetMaxLFOBlockSize(64);
    plugin->SetHighQualityUpsampling(false);
    plugin->SetBypass(true);
    Load(*plugin, std::string("<settings/>"));
    EXPECT_EQ(plugin->PipelineSettings().maxLFOBlockSize.load(), 256);
    EXPECT_TRUE(plugin->PipelineSettings().highQualityUpsampling);
    EXPECT_EQ(plugin->LoadedStateVersion(), 328448);
    EXPECT_FALSE(plugin->Bypass());  // a field with a default takes it
}

// "MaxLFOBlockSize" is a signed number whose values below 1 mean the
// default; a state that holds one saves it back unchanged.
TEST(StateDocument, AMaxLFOBlockSizeBelowOneIsKeptAsStored) {
    for (const char* stored : {"0", "-5"}) {
        auto plugin = MakePlugin();
        Load(*plugin, std::string("<settings MaxLFOBlockSize=\"") + stored + "\"/>");
        const auto document = Document(Save(*plugin));
        EXPECT_EQ(document->Root().Attribute("MaxLFOBlockSize", "").ToUTF8(), stored);
    }
}

TEST(StateDocument, ChannelModesLoadByNameWithoutRegardToCase) {
    struct Case {
        const char* attributes;
        int channels;
        int mode;
    };
    const Case cases[] = {
        {"ChannelMode=\"stereo\"", 2, KChannelModes::Side},  // stored name of mode 4
        {"ChannelMode=\"Quadro\"", 2, KChannelModes::LeftRight},
        {"ChannelMode=\"MONO + STEREO\"", 2, KChannelModes::MidSide},
        {"ChannelMode=\"Surround\"", 2, KChannelModes::LeftRight},  // surround needs more than two channels
        {"ChannelMode=\"Surround\"", 8, KChannelModes::Surround},
        {"EnableSurroundProcessing=\"1\"", 2, KChannelModes::LeftRight},
        {"EnableSurroundProcessing=\"1\"", 8, KChannelModes::Surround},
        {"ChannelMode=\"Left\" EnableSurroundProcessing=\"0\"", 8, KChannelModes::LeftRight},
    };
    for (const Case& c : cases) {
        auto plugin = MakePlugin(c.channels);
        plugin->SetChannelMode(KChannelModes::Right);
        Load(*plugin, std::string("<settings ") + c.attributes + "/>");
        EXPECT_EQ(plugin->PipelineSettings().channelMode, c.mode) << c.attributes << " on " << c.channels;
    }
}

TEST(StateDocument, SurroundChannelsTravelOnlyInSurroundMode) {
    auto plugin = MakePlugin(8);
    plugin->SetSurroundChannelEnabled(6, false);
    EXPECT_FALSE(Document(Save(*plugin))->Root().FindSubItem("SurroundChannelsEnable"));
    EXPECT_FALSE(Document(Save(*plugin))->Root().Attributes().IndexOf("SurroundChannelsEnable") >= 0);

    plugin->SetChannelMode(KChannelModes::Surround);
    EXPECT_EQ(Document(Save(*plugin))->Root().Attribute("SurroundChannelsEnable", "").ToUTF8(), "11111101");

    // A short text sets only the channels it names; anything but "0" enables.
    Load(*plugin, std::string("<settings ChannelMode=\"Surround\" SurroundChannelsEnable=\"0x\"/>"));
    const auto& enabled = plugin->PipelineSettings().surroundChannelsEnabled;
    EXPECT_FALSE(enabled[0]);
    EXPECT_TRUE(enabled[1]);
    EXPECT_FALSE(enabled[6]);
}

TEST(StateDocument, ActivePresetSlotsStartAsTheDefaultsAndTravelWithTheState) {
    auto plugin = MakePlugin();
    KActivePresetSlots& slots = plugin->ActivePresets();
    for (int i = 1; i < KActivePresetSlots::kCount; ++i) {
        EXPECT_EQ(slots.Slot(i).Name().ToUTF8(), "Preset" + std::to_string(i));
        EXPECT_EQ(slots.Slot(i).Attributes().Count(), slots.Slot(0).Attributes().Count());
        EXPECT_EQ(slots.Slot(i).SubItemCount(), slots.Slot(0).SubItemCount());
    }

    // Slot 3 changed, slot 2 in use: the document carries slot 3 as it is
    // and slot 0, but not slot 2.
    slots.Slot(3).SetAttribute("parameterdepth0", "0.25");
    slots.SetCurrent(2);
    const Bytes block = Save(*plugin);
    const auto document = Document(block);
    EXPECT_EQ(document->Root().Attribute("PresetIndex", "").ToUTF8(), "2");
    EXPECT_EQ(document->Root().FindSubItem("Preset2"), nullptr);
    ASSERT_NE(document->Root().FindSubItem("Preset3"), nullptr);
    EXPECT_EQ(document->Root().FindSubItem("Preset3")->Attribute("parameterdepth0", "").ToUTF8(), "0.25");

    auto target = MakePlugin();
    target->ActivePresets().Slot(2).SetAttribute("kept", "1");
    Load(*target, block);
    EXPECT_EQ(target->ActivePresets().Current(), 2);
    EXPECT_EQ(target->ActivePresets().Requested(), 2);
    EXPECT_EQ(target->ActivePresets().Slot(3).Attribute("parameterdepth0", "").ToUTF8(), "0.25");
    EXPECT_EQ(target->ActivePresets().Slot(2).Attribute("kept", "").ToUTF8(), "1");  // not in the document
    EXPECT_EQ(Save(*target), block);
}

TEST(StateDocument, ADocumentWithoutActivePresetCountsAsEdited) {
    auto plugin = MakePlugin();
    Load(*plugin, std::string("<settings/>"));
    const auto document = Document(Save(*plugin));
    ASSERT_NE(document->Root().FindSubItem("ActivePreset"), nullptr);
    EXPECT_EQ(document->Root().FindSubItem("ActivePreset")->Attribute("Edit", "").ToUTF8(), "1");
}

TEST(StateDocument, LoadedValuesAreKeptInRange) {
    auto plugin = MakePlugin();
    Load(*plugin, std::string("<settings upsampling=\"3\" PresetIndex=\"12\" "
                              "parameterdepth0=\"7\" parameterfrequency0=\"nan\">"
                              "<Shape0 value=\"99\" Smoothness=\"-2\"/></settings>"));
    EXPECT_EQ(plugin->PipelineSettings().upsampling, 1);
    EXPECT_EQ(plugin->ActivePresets().Current(), 0);
    HalvaneAudioEffectPlugin& effect = EffectOf(*plugin);
    const KParameterRecord& depth = effect.Record(HalvaneAudioEffectPlugin::RecordOf(0, HalvaneAudioEffectPlugin::kDepth));
    EXPECT_LE(depth.floating.value, depth.floating.maximum);
    const KParameterRecord& frequency =
        effect.Record(HalvaneAudioEffectPlugin::RecordOf(0, HalvaneAudioEffectPlugin::kFrequency));
    EXPECT_GE(frequency.floating.value, frequency.floating.minimum);
    EXPECT_EQ(effect.Generator(0).Get(KSignalGenerator::Control::ShapePosition), 15);
    EXPECT_EQ(effect.Generator(0).Get(KSignalGenerator::Control::Smoothness), 0);
}

}  // namespace
