#include <gtest/gtest.h>

#include "foundation/xml/StorageTestSupport.h"
#include <cstdint>

#include "foundation/xml/KXMLItem.h"
#include "plugin/parameters/KValueNumber.h"
#include "plugin/parameters/KValueStepDouble.h"

namespace {

std::string Text(const KString& s) { return s.ToUTF8(); }

TEST(KValueNumber, ConstructionClampsAndDerivesTheSteps) {
    double variable = 5;
    KValueDouble value(&variable, 0, 2);
    EXPECT_EQ(variable, 2);  // clamped into the range
    EXPECT_EQ(value.Default(), 2);
    EXPECT_FALSE(value.IsChanged());
    EXPECT_DOUBLE_EQ(value.FineStep(), 0.002);  // (2 - 0) × 0.001
    EXPECT_DOUBLE_EQ(value.CoarseStep(), 0.02);
    EXPECT_EQ(Text(value.Format()), "{0}");
    EXPECT_EQ(Text(value.Key()), "value");

    KValueDouble single(3.0, 3.0, 3.0);  // no range: the steps fall back to 1
    EXPECT_EQ(single.FineStep(), 1);
    EXPECT_EQ(single.CoarseStep(), 10);
    EXPECT_EQ(single.Position(), 0);
}

TEST(KValueNumber, PositionsMapLinearlyAndSettingAnswersWhetherTheValueMoved) {
    double variable = 0.5;
    KValueDouble value(&variable, 0, 2);
    EXPECT_DOUBLE_EQ(value.Position(), 0.25);
    EXPECT_TRUE(value.SetFromPosition(0.75));
    EXPECT_DOUBLE_EQ(variable, 1.5);
    EXPECT_FALSE(value.SetFromPosition(0.75));
    EXPECT_FALSE(value.IsChanged());

    EXPECT_TRUE(value.SetFromPosition(1.5));  // 3 is beyond the range
    EXPECT_EQ(variable, 2);
    EXPECT_TRUE(value.IsChanged());

    value.ClearChanged();
    EXPECT_TRUE(value.Step(-3));
    EXPECT_DOUBLE_EQ(variable, 1.994);  // 2 - 3 × 0.002
    EXPECT_FALSE(value.IsChanged());
}

TEST(KValueNumber, TextsAndParsingFollowTheFormatString) {
    KValueDouble value(0.0, 2.0, 0.75);
    EXPECT_EQ(Text(value.Text()), "0.7500");  // a double without precision has 4 decimals
    value.SetFormat("{0;.2} s");
    EXPECT_EQ(Text(value.Text()), "0.75 s");
    EXPECT_EQ(Text(value.TextFromPosition(0.5)), "1.00 s");
    EXPECT_TRUE(value.Parse("1.5 s"));
    EXPECT_EQ(value.Value(), 1.5);
    EXPECT_FALSE(value.Parse("1.5"));  // the same number: nothing changed
    EXPECT_TRUE(value.Parse(" -.25 s "));
    EXPECT_EQ(value.Value(), 0);  // clamped
    EXPECT_TRUE(value.IsChanged());

    for (const KString& bad : {KString("abc"), KString(""), KString("s"), KString("-"), KString(". 5"),
                               KString("1e999"), KString("inf")}) {
        EXPECT_FALSE(value.Parse(bad)) << Text(bad);
        EXPECT_EQ(value.Value(), 0) << Text(bad);
    }

    KValueDouble pair(0.0, 10.0, 1.0);
    pair.SetFormat("{0}/{1}");
    EXPECT_FALSE(pair.Parse("2/3"));  // two numbers are not one
    EXPECT_EQ(pair.Value(), 1);
}

TEST(KValueNumber, StoresUnderItsKeyAndOnlyWhenNotAtTheDefault) {
    double variable = 0.5;
    KValueDouble value(&variable, 0, 1);
    KXMLItem item("settings");
    StoreInto(value, item);
    EXPECT_FALSE(item.HasAttribute("value"));

    variable = 0.3;
    value.SetKey("depth");
    StoreInto(value, item);
    EXPECT_EQ(Text(item.Attribute("depth", "")), "0.3");

    double loaded = 0;
    KValueDouble other(&loaded, 0, 1);
    other.SetKey("depth");
    LoadFrom(other, item);
    EXPECT_EQ(loaded, 0.3);

    KXMLItem empty("settings");
    LoadFrom(other, empty);
    EXPECT_EQ(loaded, 0);  // a missing attribute restores the default

    item.SetAttribute("depth", "7");
    LoadFrom(other, item);
    EXPECT_EQ(loaded, 1);
    EXPECT_TRUE(other.IsChanged());
}

TEST(KValueNumber, WholeNumbersRoundHalfUpAndStepByWholeSteps) {
    std::int16_t note = 0;
    KValueInt16 value(&note, 0, 2);
    EXPECT_EQ(value.FineStep(), 1);  // 2 × 0.001 is no whole step
    EXPECT_TRUE(value.SetFromPosition(0.25));
    EXPECT_EQ(note, 1);  // 0.5 rounds up
    EXPECT_TRUE(value.SetFromPosition(0.24));
    EXPECT_EQ(note, 0);  // 0.48 rounds down
    EXPECT_TRUE(value.Parse("1.5"));
    EXPECT_EQ(note, 2);
    EXPECT_TRUE(value.Step(-1));
    EXPECT_EQ(note, 1);

    KValueWholeFloat whole(0.0f, 100.0f, 0.0f);
    EXPECT_EQ(whole.FineStep(), 1);
    whole.SetValue(2.5f);
    EXPECT_EQ(whole.Value(), 3.0f);
}

TEST(KValueNumber, IntegersStoreAsIntegersAndSaturateWhenLoading) {
    KValueInt64 big(0, std::int64_t(1) << 50, 0);
    big.SetValue((std::int64_t(1) << 40) + 1);  // more digits than 12 significant ones
    KXMLItem item("settings");
    StoreInto(big, item);
    EXPECT_EQ(Text(item.Attribute("value", "")), "1099511627777");  // 2^40 + 1, every digit kept

    KValueInt16 small(-10, 30000, 0);
    item.SetAttribute("value", "40000");  // beyond the 16-bit type
    LoadFrom(small, item);
    EXPECT_EQ(small.Value(), 30000);
    EXPECT_TRUE(small.Parse("-1e30"));
    EXPECT_EQ(small.Value(), -10);
}

TEST(KValueStepDouble, ValidationRoundsToTheGridThenClamps) {
    KValueStepDouble value(0.0, 1.1, 0.0, 0.25);
    EXPECT_TRUE(value.SetValue(0.3));
    EXPECT_EQ(value.Value(), 0.25);  // 0.3 × 4 = 1.2 rounds to 1
    EXPECT_TRUE(value.IsChanged());
    EXPECT_TRUE(value.SetValue(0.375));
    EXPECT_EQ(value.Value(), 0.5);  // 1.5 rounds up to 2
    EXPECT_TRUE(value.SetValue(0.0) && value.SetValue(1.3));
    EXPECT_EQ(value.Value(), 1.1);  // 5.2 rounds to 5, 1.25 is clamped

    value.SetValue(0.5);
    EXPECT_TRUE(value.Step(1));  // one grid step
    EXPECT_EQ(value.Value(), 0.75);
}

TEST(KValueStepDouble, TheStepIsStoredAndLoadedBeforeTheValue) {
    KValueStepDouble value(0.0, 10.0, 0.0, 0.25);
    value.SetValue(1.25);
    KXMLItem item("settings");
    StoreInto(value, item);
    EXPECT_FALSE(item.HasAttribute("step"));  // still the step it was made with

    item.SetAttribute("step", "0.5");
    KValueStepDouble other(0.0, 10.0, 0.0, 0.25);
    LoadFrom(other, item);
    EXPECT_EQ(other.StepSize(), 0.5);
    EXPECT_EQ(other.Value(), 1.5);  // 1.25 on the loaded grid: 2.5 rounds up to 3 halves
    other.SetStepSize(0.25);
    StoreInto(other, item);
    EXPECT_FALSE(item.HasAttribute("step"));  // back at its default
}

}  // namespace
