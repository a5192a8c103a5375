#include <gtest/gtest.h>

#include "foundation/xml/StorageTestSupport.h"
#include <memory>

#include "foundation/xml/KXMLItem.h"
#include "plugin/parameters/KValueList.h"
#include "plugin/parameters/KValuePercents.h"
#include "plugin/parameters/KValueScalePower.h"

namespace {

std::string Text(const KString& s) { return s.ToUTF8(); }

TEST(KValueScalePower, SquaredPositionsStandForTheSquareOfTheInnerPosition) {
    double fraction = 0.25;
    KValueScaleSqr scaled(std::make_unique<KValuePercents>(&fraction, 0.0, 1.0));
    EXPECT_DOUBLE_EQ(scaled.Position(), 0.5);  // √0.25
    EXPECT_EQ(Text(scaled.TextFromPosition(0.5)), "25.0%");
    EXPECT_TRUE(scaled.SetFromPosition(0.3));
    EXPECT_DOUBLE_EQ(fraction, 0.09);
    EXPECT_TRUE(scaled.Parse("50"));
    EXPECT_EQ(Text(scaled.Text()), "50.0%");
}

TEST(KValueScalePower, FourthPowerAndEverythingElseGoesToTheInnerObject) {
    double fraction = 0.125;
    KValueScalePower<4> scaled(std::make_unique<KValueDouble>(&fraction, 0.0, 2.0));
    EXPECT_DOUBLE_EQ(scaled.Position(), 0.5);  // inner position 0.0625, whose fourth root is 0.5
    EXPECT_TRUE(scaled.SetFromPosition(0.25));
    EXPECT_DOUBLE_EQ(fraction, 0.0078125);  // 2 × 0.25^4 = 2 / 256
    EXPECT_EQ(Text(scaled.TextFromPosition(1)), "2.0000");

    fraction = 5;
    scaled.Validate();
    EXPECT_EQ(fraction, 2);
    EXPECT_TRUE(scaled.IsChanged());
    scaled.ClearChanged();
    EXPECT_FALSE(scaled.Inner().IsChanged());

    scaled.Inner().SetKey("level");
    KXMLItem item("settings");
    StoreInto(scaled, item);
    EXPECT_EQ(Text(item.Attribute("level", "")), "2");
}

const KStringList kChannels = {"Stereo", "Left", "Right", "Mid/Side"};

TEST(KValueList, PositionsShareTheRangeEvenlyBetweenEntries) {
    int index = 0;
    KValueList<> list(&index, kChannels);
    EXPECT_TRUE(list.SetFromPosition(0.5));
    EXPECT_EQ(index, 2);  // 4 × 0.5 - 0.5 = 1.5 rounds up
    EXPECT_DOUBLE_EQ(list.Position(), 2.0 / 3);
    EXPECT_EQ(Text(list.Text()), "Right");
    EXPECT_EQ(Text(list.TextFromPosition(1)), "Mid/Side");
    EXPECT_EQ(Text(list.TextFromPosition(0)), "Stereo");
    EXPECT_TRUE(list.Parse("mid/side"));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(list.Parse("Surround"));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(list.Step(1));
    EXPECT_TRUE(list.Step(-10));
    EXPECT_EQ(index, 0);
}

TEST(KValueList, ClampsOutOfRangeIndicesAndStoresTheIndex) {
    int index = 9;
    KValueList<> list(&index, kChannels);
    EXPECT_EQ(index, 3);
    KXMLItem item("settings");
    StoreInto(list, item);
    EXPECT_FALSE(item.HasAttribute("value"));  // 3 is the default now
    list.SetIndex(1);
    StoreInto(list, item);
    EXPECT_EQ(Text(item.Attribute("value", "")), "1");

    item.SetAttribute("value", "-4");
    LoadFrom(list, item);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(list.IsChanged());

    KValueList<> empty(KStringList{}, 0);
    EXPECT_EQ(Text(empty.Text()), "");
    EXPECT_EQ(empty.Position(), 0);
}

enum class ChannelMode { Stereo, Left, Right, MidSide };

TEST(KValueEnum, StoresTheEntryTextAndLoadsUnknownNamesAsTheDefault) {
    ChannelMode mode = ChannelMode::Left;
    KValueEnum<ChannelMode> value(&mode, kChannels);
    value.SetKey("mode");
    KXMLItem item("settings");
    StoreInto(value, item);
    EXPECT_FALSE(item.HasAttribute("mode"));

    value.SetIndex(3);
    StoreInto(value, item);
    EXPECT_EQ(Text(item.Attribute("mode", "")), "Mid/Side");

    item.SetAttribute("mode", "RIGHT");
    LoadFrom(value, item);
    EXPECT_EQ(mode, ChannelMode::Right);
    item.SetAttribute("mode", "2");  // a number is not a name
    LoadFrom(value, item);
    EXPECT_EQ(mode, ChannelMode::Left);
}

}  // namespace
