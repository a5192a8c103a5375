#include <gtest/gtest.h>

#include <cmath>

#include "foundation/xml/KStorageContext.h"
#include "support/FailureMessage.h"
#include "MultiParameterTestSupport.h"

namespace {

using namespace multiparameter_test;
using E = TargetEffect;

std::string Attribute(KXMLItem& item, const char* name) {
    return item.HasAttribute(KString::FromUTF8(name)) ? item.CachedAttribute().ToUTF8() : "<missing>";
}

// Loads one assignment item in banks mode with `bankCount` banks.
KMultiParameterParameter LoadEntry(KXMLItem& item, int bankCount) {
    KMultiParameterParameter entry;
    KStorageContext context(item, false);
    entry.Store(context, true, bankCount);
    return entry;
}

struct StorageFixture : ::testing::Test, Plugin {
    void StoreAll(KXMLItem& root) {
        KStorageContext context(root, true);
        adapter.StoreMultiParameters(context);
    }
    void LoadAll(KXMLItem& root) {
        KStorageContext context(root, false);
        adapter.StoreMultiParameters(context);
    }
};

TEST_F(StorageFixture, UnusedMultiParametersLeaveNoItemsAndDefaultsNoAttributes) {
    KXMLItem root("settings");
    StoreAll(root);
    KXMLItem& group = root.RequiredSubItem("MultiParameters");
    EXPECT_EQ(group.SubItemCount(), 0);

    Multi(1).AddEntry(E::kA);
    StoreAll(root);
    ASSERT_EQ(group.SubItemCount(), 1);
    KXMLItem& slot = group.SubItemAt(0);
    EXPECT_EQ(slot.Name().ToUTF8(), "MultiParameter1");
    // Only the always-written "Value" and the mode names; defaults removed.
    EXPECT_EQ(Attribute(slot, "Value"), "0.5");
    EXPECT_EQ(Attribute(slot, "Mode"), "Normal");
    EXPECT_EQ(Attribute(slot, "ValueMode"), "Percents");
    for (const char* name : {"Name", "Enabled", "Group", "Info", "SwitchTime", "DefaultValue", "BankCount"})
        EXPECT_EQ(Attribute(slot, name), "<missing>") << name;
    KXMLItem& entry = slot.RequiredSubItem("Parameter");
    EXPECT_EQ(Attribute(entry, "ParameterName"), "a");
    EXPECT_EQ(Attribute(entry, "FullRange"), "0");
    EXPECT_EQ(Attribute(entry, "Value"), "0");  // centred where A stood
    EXPECT_EQ(Attribute(entry, "MaxValue"), "<missing>");
    EXPECT_TRUE(entry.FindSubItem("Shape"));
    EXPECT_EQ(Attribute(entry, "Interpolate"), "<missing>");  // banks mode only

    // Loading a document without the slot resets the multiparameter.
    Multi(1).SetName("Named");
    group.RemoveSubItem("MultiParameter1");
    LoadAll(root);
    EXPECT_TRUE(Multi(1).IsUnused());
    EXPECT_EQ(Multi(1).Name().ToUTF8(), "");
}

TEST_F(StorageFixture, RoundTripOfEverySettingAndEntry) {
    KMultiParameter& m = Multi(2);
    m.SetName("Sweep");
    m.SetGroup("Filters");
    m.SetInfo("Opens everything");
    m.SetEnabled(true);
    m.SetDefaultValue(0.25);
    m.SetValueMode(KMultiParameterValueMode::ByFirstParameter);
    m.SetSwitchTime(2.5);
    m.SetBankCount(3);
    m.SetMode(KMultiParameterMode::Banks);
    m.AddEntry(E::kB);
    m.AddEntry(E::kC);
    m.EditEntry(1, [](KMultiParameterParameter& e) {
        e.range = {.value = 0.3, .maxValue = 0.1, .range = 0.7, .mode = KRangeMode::Interval};
        e.invert = e.useFirstRange = e.shapeEnabled = true;
        e.interpolate = false;
        e.SetBank(0, 0.5);
        e.SetBank(1, 1.0);
        e.SetBank(2, 0.25);
        e.SetShape(KEnvelope({0, 1}, {0, 1}, 1, 0));
    });
    m.SetSliderValue(0.75);

    KXMLItem root("settings");
    StoreAll(root);
    KXMLItem& entry = root.RequiredSubItem("MultiParameters").RequiredSubItem("MultiParameter2").SubItemAt(1);
    // 0.5f = 3F000000, 1.0f = 3F800000, 0.25f = 3E800000, bytes low first.
    EXPECT_EQ(entry.Text().ToUTF8(), "0000003F0000803F0000803E");
    EXPECT_EQ(Attribute(entry, "FullRange"), "4");

    Plugin other;
    KStorageContext load(root, false);
    other.adapter.StoreMultiParameters(load);
    KMultiParameter& n = other.Multi(2);
    EXPECT_EQ(n.Name().ToUTF8(), "Sweep");
    EXPECT_EQ(n.Group().ToUTF8(), "Filters");
    EXPECT_EQ(n.Info().ToUTF8(), "Opens everything");
    EXPECT_TRUE(n.Enabled());
    EXPECT_DOUBLE_EQ(n.DefaultValue(), 0.25);
    EXPECT_EQ(n.ValueMode(), KMultiParameterValueMode::ByFirstParameter);
    EXPECT_DOUBLE_EQ(n.SwitchTime(), 2.5);
    EXPECT_EQ(n.BankCount(), 3);
    EXPECT_EQ(n.Mode(), KMultiParameterMode::Banks);
    EXPECT_DOUBLE_EQ(n.SliderValue(), 0.75);
    ASSERT_EQ(n.EntryCount(), 2);
    n.InspectEntry(1, [](const KMultiParameterParameter& e) {
        EXPECT_EQ(e.parameterIndex, E::kC);  // resolved by name
        EXPECT_DOUBLE_EQ(e.range.value, 0.3);
        EXPECT_DOUBLE_EQ(e.range.maxValue, 0.1);
        EXPECT_DOUBLE_EQ(e.range.range, 0.7);
        EXPECT_EQ(e.range.mode, KRangeMode::Interval);
        EXPECT_TRUE(e.invert && e.useFirstRange && e.shapeEnabled);
        EXPECT_FALSE(e.interpolate);
        EXPECT_EQ(e.Bank(0), 0.5f);
        EXPECT_EQ(e.Bank(1), 1.0f);
        EXPECT_EQ(e.Bank(2), 0.25f);
        EXPECT_EQ(e.Shape(), KEnvelope({0, 1}, {0, 1}, 1, 0));
        return 0;
    });
    // Storing what was loaded gives the same document.
    KXMLItem again("settings");
    KStorageContext store(again, true);
    other.adapter.StoreMultiParameters(store);
    EXPECT_EQ(again.RequiredSubItem("MultiParameters").RequiredSubItem("MultiParameter2").SubItemAt(1).Text().ToUTF8(),
              entry.Text().ToUTF8());
}

TEST_F(StorageFixture, LoadedValuesAreClamped) {
    KXMLItem item("Parameter");
    item.SetAttribute("Value", "1.5");
    item.SetAttribute("MaxValue", "-2");
    item.SetAttribute("Range", "7");
    item.SetText("00000040000080BF");  // 2.0f and -1.0f
    KMultiParameterParameter entry = LoadEntry(item, 2);
    EXPECT_EQ(entry.range.value, 1.0);
    EXPECT_EQ(entry.range.maxValue, 0.0);
    EXPECT_EQ(entry.range.range, 1.0);
    EXPECT_EQ(entry.Bank(0), 1.0f);
    EXPECT_EQ(entry.Bank(1), 0.0f);
    EXPECT_TRUE(entry.enabled);      // "ParameterEnabled" defaults to on
    EXPECT_TRUE(entry.interpolate);  // "Interpolate" too
}

// A damaged document can hold "nan" where a number belongs. Loading falls
// back to the defaults (position and default value 0.5, entry value 0.5,
// maximal value and range 1), so that the host never reads a value that is
// no number and the bank selection never indexes with one.
TEST_F(StorageFixture, ValuesThatAreNoNumberLoadAsTheirDefaults) {
    KXMLItem root("settings");
    KXMLItem& slot = root.GetOrCreateSubItem("MultiParameters").AddSubItem("MultiParameter0");
    slot.SetAttribute("Mode", "Banks");
    slot.SetAttribute("BankCount", "3");
    slot.SetAttribute("Value", "nan");
    slot.SetAttribute("DefaultValue", "nan");
    slot.SetAttribute("ValueMode", "By first parameter");
    KXMLItem& entry = slot.AddSubItem("Parameter");
    entry.SetAttribute("ParameterName", "a");
    entry.SetAttribute("Value", "nan");
    entry.SetAttribute("MaxValue", "-nan");
    entry.SetAttribute("Range", "nan");
    entry.SetAttribute("Interpolate", "0");
    // Banks 0.2, 0.6 and 1.0 as little-endian floats (3E4CCCCD, 3F19999A, 3F800000).
    entry.SetText("CDCC4C3E9A99193F0000803F");
    LoadAll(root);

    KMultiParameter& m = Multi(0);
    EXPECT_DOUBLE_EQ(m.SliderValue(), 0.5);
    EXPECT_DOUBLE_EQ(m.DefaultValue(), 0.5);
    EXPECT_DOUBLE_EQ(m.EntryParameter(0, 0).value_or(-1), 0.5);
    EXPECT_DOUBLE_EQ(m.EntryParameter(0, 1).value_or(-1), 1.0);
    EXPECT_DOUBLE_EQ(m.EntryParameter(0, 2).value_or(-1), 1.0);
    // Position 0.5 of 3 banks is p = 1: bank 1 shown and set.
    EXPECT_EQ(adapter.GetParameterValueName(PositionIndex(0)).ToUTF8(), "60.0%");
    m.RequestApply();
    ProcessBlock(64);
    EXPECT_NEAR(Value(E::kA), 0.6, 1e-7);

    // The same values from the editor are ignored.
    m.SetSliderValue(std::nan(""));
    m.SetDefaultValue(std::nan(""));
    m.SetEntryParameter(0, 0, std::nan(""), false);
    m.SetSwitchTime(HUGE_VAL);
    EXPECT_DOUBLE_EQ(m.SliderValue(), 0.5);
    EXPECT_DOUBLE_EQ(m.DefaultValue(), 0.5);
    EXPECT_DOUBLE_EQ(m.EntryParameter(0, 0).value_or(-1), 0.5);
    EXPECT_DOUBLE_EQ(m.SwitchTime(), 1.0);
}

// A range mode this version does not know (from a later one, or damaged)
// leaves the target at its value, and is written back as it came.
TEST_F(StorageFixture, AnUnknownRangeModeKeepsTheTargetAtItsValue) {
    for (const char* mode : {"7", "-1"}) {
        KXMLItem item("Parameter");
        item.SetAttribute("Value", "0.3");
        item.SetAttribute("MaxValue", "0.9");
        item.SetAttribute("Range", "0.4");
        item.SetAttribute("FullRange", KString::FromUTF8(mode));
        KMultiParameterParameter entry;
        KStorageContext load(item, false);
        entry.Store(load, false, 2);
        EXPECT_DOUBLE_EQ(entry.TargetForPosition(0, entry.range), 0.3) << mode;
        EXPECT_DOUBLE_EQ(entry.TargetForPosition(1, entry.range), 0.3) << mode;
        KXMLItem stored("Parameter");
        KStorageContext context(stored, true);
        entry.Store(context, false, 2);
        EXPECT_EQ(Attribute(stored, "FullRange"), mode);
    }
}

TEST_F(StorageFixture, BrokenBankTextsRaiseTheirMessages) {
    KXMLItem item("Parameter");
    item.SetText("0000003F000080");  // 7 of the 8 bytes of two banks
    EXPECT_EQ(FailureMessage([&] { LoadEntry(item, 2); }), "Value doesn't have correct format.");
    item.SetText("0000003G0000803F");
    EXPECT_EQ(FailureMessage([&] { LoadEntry(item, 2); }), "Invalid character to be converted to a number.");
}

// A failure ends the storing step quietly; what was loaded before it stays.
TEST_F(StorageFixture, ABrokenSlotEndsTheStepAndKeepsWhatWasLoaded) {
    Multi(1).SetName("Before");
    KXMLItem root("settings");
    KXMLItem& group = root.GetOrCreateSubItem("MultiParameters");
    KXMLItem& broken = group.AddSubItem("MultiParameter0");
    broken.SetAttribute("Mode", "Banks");
    broken.AddSubItem("Parameter").SetText("zz");
    KXMLItem& fine = group.AddSubItem("MultiParameter1");
    fine.SetAttribute("Name", "Fine");
    LoadAll(root);
    EXPECT_EQ(Multi(0).Mode(), KMultiParameterMode::Banks);  // loaded up to the failure
    EXPECT_EQ(Multi(0).EntryCount(), 1);
    EXPECT_EQ(Multi(1).Name().ToUTF8(), "Before");
}

}  // namespace
