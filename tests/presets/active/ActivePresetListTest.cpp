#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "foundation/core/KException.h"
#include "presets/active/ActivePresetTestSupport.h"
#include "presets/active/KActivePresetList.h"
#include "presets/library/PresetTestSupport.h"

namespace {

using namespace active_test;

// A settings document, compressed as the library stores presets, in
// upper-case hexadecimal.
std::string CompressedHex(const char* settingsXml) {
    const std::string text = settingsXml;
    KMemoryStream plain(text.data(), int(text.size()));
    KXMLDocument document;
    document.Parse(plain);
    KMemoryStream compressed;
    document.WriteCompressed(compressed);
    std::string hex;
    char digits[3];
    for (std::int64_t i = 0; i < compressed.Size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02X", compressed.Data()[i]);
        hex += digits;
    }
    return hex;
}

KString WriteList(const std::string& test, const std::string& content) {
    const auto file = TestFolder("active-" + test) / "Halvanepresets.active";
    std::ofstream(file) << content;
    return PathText(file);
}

const std::string kTwoEntries =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Halvanepresets NamePrefix=\"Factory \">\n"
    "  <preset Name=\"Hex\">" +
    CompressedHex("<settings parameterdepth0=\"0.3\"/>") +
    "</preset>\n"
    "  <preset Name=\"Plain\">&lt;settings parameterdepth0=&quot;0.6&quot;/&gt;</preset>\n"
    "</Halvanepresets>\n";

TEST(ActivePresetList, EntriesInBothFormsLoadWithTheirPrefix) {
    KActivePresetList list;
    list.Load(WriteList("two", kTwoEntries));
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(list.Entries()[0].name.ToUTF8(), "Factory Hex");
    EXPECT_EQ(list.Entries()[1].name.ToUTF8(), "Factory Plain");

    auto plugin = MakePlugin();
    plugin->SetActivePresetSelection(0, true);
    ASSERT_TRUE(list.LoadActivePreset(*plugin, 0));
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.3, 1e-12);
    ASSERT_TRUE(list.LoadActivePreset(*plugin, 1));
    EXPECT_NEAR(plugin->GetParameter(kDepth0), 0.6, 1e-12);
    EXPECT_EQ(plugin->CurrentActivePreset(), 1);
    EXPECT_FALSE(plugin->ActivePresetEdited());

    // The selection travels in the state ("Edit" at its default 0).
    const auto state = Document(Save(*plugin));
    const KXMLItem* selection = state->Root().FindSubItem("ActivePreset");
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(selection->Attribute("CurrentActivePreset", "").ToUTF8(), "1");
    EXPECT_EQ(selection->Attribute("Edit", "none").ToUTF8(), "none");

    EXPECT_FALSE(list.LoadActivePreset(*plugin, 2));
    EXPECT_FALSE(list.LoadActivePreset(*plugin, -1));
    EXPECT_EQ(plugin->CurrentActivePreset(), 1);
}

TEST(ActivePresetList, AMissingOrBrokenFileGivesAnEmptyList) {
    KActivePresetList list;
    list.Load(WriteList("good", kTwoEntries));
    ASSERT_EQ(list.Entries().size(), 2u);
    const std::string broken[] = {kTwoEntries.substr(0, kTwoEntries.size() / 2), "not xml at all", ""};
    for (const std::string& content : broken) {
        list.Load(WriteList("broken", content));
        EXPECT_TRUE(list.Entries().empty()) << content;
    }
    list.Load("/nonexistent/folder/Halvanepresets.active");
    EXPECT_TRUE(list.Entries().empty());
}

TEST(ActivePresetList, ADamagedEntryChangesNothing) {
    KActivePresetList list;
    list.Load(WriteList("damaged", "<Halvanepresets><preset Name=\"Bad\">78DAZZ</preset>"
                                   "<preset Name=\"Cut\">" +
                                       CompressedHex("<settings parameterdepth0=\"0.3\"/>").substr(0, 12) +
                                       "</preset></Halvanepresets>"));
    ASSERT_EQ(list.Entries().size(), 2u);
    auto plugin = MakePlugin();
    plugin->SetParameter(kDepth0, 0.8);
    plugin->SetActivePresetSelection(0, true);
    const Bytes before = Save(*plugin);
    for (int entry = 0; entry < 2; ++entry) {
        EXPECT_THROW(list.LoadActivePreset(*plugin, entry), KException) << entry;
        EXPECT_EQ(Save(*plugin), before) << entry;
    }
}

}  // namespace
