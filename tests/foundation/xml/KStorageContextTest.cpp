#include <gtest/gtest.h>

#include <vector>

#include "foundation/xml/KStorageContext.h"

namespace {

// A small object with one field of each rule, stored in one operation.
struct Sample {
    double range = 1.0;    // default 1
    int count = 7;         // always written
    bool flag = true;      // always written, loads 1 when missing
    KString name = "a";    // default "a"
    std::vector<int> points;

    void Store(KStorageContext& context) {
        context.Field("Range", range, 1.0);
        context.Field("Count", count);
        context.Field("Flag", flag, KStorageContext::LoadDefault{true});
        context.Field("Name", name, KString("a"));
        context.Repeated("Point", points, [](KStorageContext& point, int& x) { point.Field("x", x); });
    }
};

void StoreSample(Sample& sample, KXMLItem& item, bool storing, KStorageReadLog* log = nullptr) {
    KStorageContext context(item, storing, log);
    sample.Store(context);
}

TEST(KStorageContext, DefaultsAreLeftOutAndRestoredAlwaysWrittenFieldsStay) {
    Sample sample;
    sample.range = 1.0 + 1e-60;  // closer than 1e-50 counts as the default
    sample.flag = false;
    KXMLItem item("x");
    item.SetAttribute("Range", "5");  // a stale value is removed, not kept
    StoreSample(sample, item, true);
    EXPECT_FALSE(item.HasAttribute("Range"));
    EXPECT_FALSE(item.HasAttribute("Name"));
    EXPECT_EQ(item.Attribute("Count", "").ToUTF8(), "7");
    EXPECT_EQ(item.Attribute("Flag", "").ToUTF8(), "0");

    Sample loaded;
    loaded.range = 3;
    loaded.count = 2;
    loaded.flag = true;
    loaded.name = "b";
    StoreSample(loaded, item, false);
    EXPECT_EQ(loaded.range, 1.0);  // missing: the default
    EXPECT_EQ(loaded.count, 7);
    EXPECT_FALSE(loaded.flag);
    EXPECT_EQ(loaded.name.ToUTF8(), "a");

    KXMLItem empty("x");
    StoreSample(loaded, empty, false);
    EXPECT_EQ(loaded.count, 7);  // missing, no default: unchanged
    EXPECT_TRUE(loaded.flag);    // missing: the load default
}

TEST(KStorageContext, RepeatedItemsReplaceWhatWasThereInOrder) {
    Sample sample;
    sample.points = {3, 1, 2};
    KXMLItem item("x");
    item.AddSubItem("Point");  // left over from an earlier store
    StoreSample(sample, item, true);
    ASSERT_EQ(item.SubItemCount(), 3);
    EXPECT_EQ(item.SubItemAt(0).Attribute("x", "").ToUTF8(), "3");

    Sample loaded;
    loaded.points = {9, 9, 9, 9};
    StoreSample(loaded, item, false);
    EXPECT_EQ(loaded.points, (std::vector<int>{3, 1, 2}));
}

TEST(KStorageContext, OptionalSubItemsAreRemovedWhenNotWrittenAndReportedWhenMissing) {
    KXMLItem item("x");
    KStorageContext storing(item, true);
    int calls = 0;
    EXPECT_TRUE(storing.OptionalSubItem("Extra", true, [&](KStorageContext&) { ++calls; }));
    EXPECT_NE(item.FindSubItem("Extra"), nullptr);
    EXPECT_FALSE(storing.OptionalSubItem("Extra", false, [&](KStorageContext&) { ++calls; }));
    EXPECT_EQ(item.FindSubItem("Extra"), nullptr);
    KStorageContext loading(item, false);
    EXPECT_FALSE(loading.OptionalSubItem("Extra", true, [&](KStorageContext&) { ++calls; }));
    EXPECT_EQ(calls, 1);
}

TEST(KStorageContext, TheReadLogNamesAttributesNoLoadingCodeAskedFor) {
    KXMLItem item("settings");
    item.SetAttribute("RANGE", "2");  // matched without regard to case
    item.SetAttribute("Colour", "red");
    item.AddSubItem("Point").SetAttribute("x", "1");
    item.AddSubItem("Point").SetAttribute("y", "1");
    KXMLItem& whole = item.AddSubItem("Copy");
    whole.SetAttribute("anything", "1");

    KStorageReadLog log;
    Sample sample;
    StoreSample(sample, item, false, &log);
    KStorageContext(whole, false, &log).ReadWhole();
    EXPECT_EQ(log.Unread(item), (std::vector<std::string>{"Colour", "Point/y"}));
}

}  // namespace
