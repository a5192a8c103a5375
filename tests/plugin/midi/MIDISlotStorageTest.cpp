#include <gtest/gtest.h>

#include "FakeMIDITarget.h"
#include "MIDIPluginSupport.h"
#include "foundation/xml/KStorageContext.h"
#include "foundation/xml/KXMLItem.h"
#include "plugin/midi/KMIDIControllers.h"

namespace {

struct SlotStorage : ::testing::Test {
    KXMLItem root{"settings"};
    FakeMIDITarget target;
    KMIDIControllers midi{target};

    void Store(KMIDIControllers& controllers, bool storing) {
        KStorageContext context(root, storing);
        controllers.StoreControllers(context);
        controllers.StoreNoteControllers(context);
    }
};

TEST_F(SlotStorage, OnlyEnabledSlotsAreWrittenWithTheirNonDefaultFields) {
    KMIDIControllerSlot& slot = midi.Controller(5);
    slot.enabled = true;
    slot.controller = 74;
    slot.target.Set(3);
    slot.value = 0.25;
    Store(midi, true);

    KXMLItem* list = root.FindSubItem("Controllers");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->SubItemCount(), 1);
    KXMLItem& item = list->SubItemAt(0);
    EXPECT_EQ(item.Name().ToUTF8(), "Controller5");
    EXPECT_EQ(item.Attribute("ParameterName", "").ToUTF8(), "param3");
    EXPECT_EQ(item.Attribute("Controller", "").ToUTF8(), "74");
    EXPECT_EQ(item.Attribute("FullRange", "").ToUTF8(), "2");  // always written
    EXPECT_EQ(item.Attribute("Value", "").ToUTF8(), "0.25");
    EXPECT_FALSE(item.HasAttribute("Range"));  // at its default 1
    EXPECT_FALSE(item.HasAttribute("Channel"));
    ASSERT_NE(root.FindSubItem("NoteControllers"), nullptr);
    EXPECT_EQ(root.FindSubItem("NoteControllers")->SubItemCount(), 0);
}

TEST_F(SlotStorage, LoadingRestoresSlotsAndDisablesThoseWithoutAnItem) {
    KMIDINoteControllerSlot& note = midi.NoteController(2);
    note.enabled = true;
    note.mode = int(KNoteControllerMode::OnOffAllOctaves);
    note.note = 61;
    note.channel = 4;
    note.target.Set(6);
    note.maximum = 0.75;
    Store(midi, true);
    EXPECT_EQ(root.FindSubItem("NoteControllers")->SubItemAt(0).Attribute("Mode", "").ToUTF8(),
              "On/Off (all octaves)");

    KMIDIControllers loaded(target);
    loaded.Controller(5).enabled = true;  // nothing stored for slot 5
    Store(loaded, false);
    EXPECT_FALSE(loaded.Controller(5).enabled.load());
    const KMIDINoteControllerSlot& back = loaded.NoteController(2);
    EXPECT_TRUE(back.enabled.load());
    EXPECT_EQ(back.Mode(), KNoteControllerMode::OnOffAllOctaves);
    EXPECT_EQ(back.note.load(), 61);
    EXPECT_EQ(back.channel.load(), 4);
    EXPECT_EQ(back.target.Index(), 6);
    EXPECT_DOUBLE_EQ(back.maximum.load(), 0.75);
    EXPECT_DOUBLE_EQ(back.minimum.load(), 0.0);
}

TEST_F(SlotStorage, OlderAndDamagedItemsLoadTheirDefaults) {
    KXMLItem& controllers = root.GetOrCreateSubItem("Controllers");
    KXMLItem& c = controllers.AddSubItem("Controller0");
    c.SetAttribute("Enabled", "1");
    c.SetAttribute("ParameterName", "gone");
    c.SetAttribute("Value", "nan");  // no number: the default
    c.SetAttribute("Range", "3");    // clamped to 0..1
    KXMLItem& notes = root.GetOrCreateSubItem("NoteControllers");
    KXMLItem& linear = notes.AddSubItem("NoteController0");
    linear.SetAttribute("Logarithmic", "0");
    linear.SetAttribute("Value", "-0.5");
    linear.SetAttribute("MaxValue", "nan");
    KXMLItem& unknown = notes.AddSubItem("NoteController1");
    unknown.SetAttribute("Mode", "Sideways");
    Store(midi, false);

    EXPECT_EQ(midi.Controller(0).target.Index(), -1);  // no parameter of that name
    EXPECT_EQ(midi.Controller(0).rangeMode.load(), 2);  // no "FullRange": up only
    EXPECT_EQ(midi.Controller(0).controller.load(), 1);
    EXPECT_DOUBLE_EQ(midi.Controller(0).value.load(), 0.0);
    EXPECT_DOUBLE_EQ(midi.Controller(0).range.load(), 1.0);
    EXPECT_DOUBLE_EQ(midi.NoteController(0).minimum.load(), 0.0);
    EXPECT_DOUBLE_EQ(midi.NoteController(0).maximum.load(), 1.0);
    EXPECT_EQ(midi.NoteController(0).Mode(), KNoteControllerMode::Linear);
    EXPECT_EQ(midi.NoteController(1).Mode(), KNoteControllerMode::Logarithmic);
    EXPECT_EQ(midi.NoteController(1).note.load(), 48);
}

// Targets are stored by the parameter's identifier and found again by it.
TEST(PluginSlotStorage, TargetsTravelByIdentifier) {
    KXMLItem root{"settings"};
    {
        MIDIPlugin m;
        KMIDIControllers& midi = m.plugin.MIDIControllers();
        midi.AddController(0, 10, m.plugin.FindParameter("tone"));
        KMIDINoteControllerSlot& note = midi.NoteController(0);
        note.enabled = true;
        note.target.Set(m.plugin.FindParameter("level"));
        KStorageContext context(root, true);
        m.plugin.StoreControllers(context);
    }
    EXPECT_EQ(root.FindSubItem("Controllers")->SubItemAt(0).Attribute("ParameterName", "").ToUTF8(), "tone");
    MIDIPlugin loaded;
    KStorageContext context(root, false);
    loaded.plugin.StoreControllers(context);
    EXPECT_EQ(loaded.plugin.MIDIControllers().Controller(0).target.Index(), 1);
    EXPECT_EQ(loaded.plugin.MIDIControllers().NoteController(0).target.Index(), 0);
}

}  // namespace
