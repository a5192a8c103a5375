#include <gtest/gtest.h>

#include <cmath>

#include "foundation/core/Random.h"
#include "plugin/parameters/KDisplayFunctions.h"
#include "plugin/parameters/KParameterMapping.h"

namespace {

using namespace KParameterMapping;

TEST(ParameterMapping, SquaredFloatHoldsTheSquareAndReportsThePosition) {
    KParameterRecord record = KParameterRecord::Float("x", "x", 0, 1, 0);
    record.floating.scale = KScaleMode::Squared;
    SetFromPosition(record, 0.5);
    EXPECT_DOUBLE_EQ(record.floating.value, 0.25);
    EXPECT_DOUBLE_EQ(Position(record), 0.5);
    record.floating.scale = KScaleMode::FourthPower;
    SetFromPosition(record, 0.5);
    EXPECT_DOUBLE_EQ(record.floating.value, 0.0625);
    EXPECT_DOUBLE_EQ(Position(record), 0.5);
}

TEST(ParameterMapping, RedirectWritesTheAlternateValue) {
    KParameterRecord record = KParameterRecord::Float("x", "x", -1, 1, 0);
    record.SetFlag(KParameterFlag::Redirect, true);
    SetFromPosition(record, 1.0);
    EXPECT_DOUBLE_EQ(record.floating.value, 0);
    EXPECT_DOUBLE_EQ(record.floating.alternate, 1);
    EXPECT_DOUBLE_EQ(record.WorkingFloat(), 1);
    EXPECT_DOUBLE_EQ(Position(record), 0.5);  // still reports the value
}

TEST(ParameterMapping, IntegerAndListRoundHalfUp) {
    KParameterRecord integer = KParameterRecord::Integer("n", "n", 0, 10, 0);
    SetFromPosition(integer, 0.55);  // 5.5 rounds up
    EXPECT_EQ(integer.integer.value, 6);
    SetFromPosition(integer, 0.54);
    EXPECT_EQ(integer.integer.value, 5);
    EXPECT_DOUBLE_EQ(Position(integer), 0.5);

    static const char* const kEntries[] = {"One", "Two", "Three", "Four"};
    KParameterRecord list = KParameterRecord::List("l", "l", kEntries, 4, 1);
    SetFromPosition(list, 0.5);  // 4 * 0.5 - 0.5 = 1.5 rounds up to 2
    EXPECT_EQ(list.list.selected, 2);
    SetFromPosition(list, 0.0);
    EXPECT_EQ(list.list.selected, 0);
    SetFromPosition(list, 1.0);
    EXPECT_EQ(list.list.selected, 3);
    EXPECT_DOUBLE_EQ(Position(list), 1.0);
    EXPECT_DOUBLE_EQ(DefaultPosition(list), 1.0 / 3);
    EXPECT_EQ(ValueText(list).ToUTF8(), "Four");
    EXPECT_DOUBLE_EQ(ParsePosition(list, "three"), 2.0 / 3);
    EXPECT_DOUBLE_EQ(ParsePosition(list, "Five"), 0.0);
}

TEST(ParameterMapping, OnOffAndGroupTexts) {
    KParameterRecord onOff = KParameterRecord::OnOff("e", "e", false);
    SetFromPosition(onOff, 0.5);
    EXPECT_EQ(onOff.onOff.value, 1);
    EXPECT_EQ(ValueText(onOff).ToUTF8(), "On");
    EXPECT_EQ(ValueTextFrom01(onOff, 0.1).ToUTF8(), "On");  // any non-zero position
    EXPECT_EQ(ValueTextFrom01(onOff, 0.0).ToUTF8(), "Off");

    std::uint8_t enabled = 1;
    KParameterRecord group = KParameterRecord::GroupHeader("g", &enabled);
    SetFromPosition(group, 0.4);
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(ValueTextFrom01(group, 0.4).ToUTF8(), "Off");
    EXPECT_EQ(ValueTextFrom01(group, 0.5).ToUTF8(), "On");
}

TEST(ParameterMapping, PlainNumbersUseSixDecimalsOrTheFormat) {
    KParameterRecord record = KParameterRecord::Float("x", "x", 0, 10, 2.5);
    EXPECT_EQ(ValueText(record).ToUTF8(), "2.500000");
    record.format = "{0;.1} s";
    EXPECT_EQ(ValueText(record).ToUTF8(), "2.5 s");
    EXPECT_EQ(ValueTextFrom01(record, 0.5).ToUTF8(), "5.0 s");
    EXPECT_DOUBLE_EQ(ParsePosition(record, "7.5"), 0.75);
}

TEST(ParameterMapping, LogFrequencyDisplayParsesHertzAndRejectsNonPositive) {
    KParameterRecord record = KParameterRecord::Float("f", "f", std::log10(20.0), std::log10(20000.0),
                                                      std::log10(50.0), KDisplayFunctions::LogFrequency);
    EXPECT_EQ(ValueText(record).ToUTF8(), "50.0 Hz");
    // log10(440) mapped onto the 3-decade range
    EXPECT_NEAR(ParsePosition(record, "440"), (std::log10(440.0) - std::log10(20.0)) / 3, 1e-12);
    const double unchanged = Position(record);
    EXPECT_DOUBLE_EQ(ParsePosition(record, "0"), unchanged);
    EXPECT_DOUBLE_EQ(ParsePosition(record, "-5"), unchanged);
    EXPECT_EQ(ValueTextFrom01(record, 1.0).ToUTF8(), "20.0 kHz");
}

// The shared generator, written out independently: draws are bits 16..30.
struct ReferenceRandom {
    std::uint32_t state;
    double Next() {
        state = state * 214013u + 2531011u;
        return double((state >> 16) & 0x7FFF) / 32767.0;
    }
};

TEST(ParameterMapping, RandomizeUsesTheSharedGeneratorAndClamps) {
    KRandom::Seed(12345);
    ReferenceRandom reference{12345};

    KParameterRecord record = KParameterRecord::Float("x", "x", 10, 20, 15);
    Randomize(record, 1.0);
    const double r1 = reference.Next();
    EXPECT_DOUBLE_EQ(record.floating.value, 10 + 10 * r1);
    EXPECT_DOUBLE_EQ(record.floating.running, record.floating.value);

    record.flags2 = std::uint8_t(record.flags2 | KParameterFlag2::RoundAfterRandomize);
    Randomize(record, 1.0);
    EXPECT_DOUBLE_EQ(record.floating.value, std::floor(10 + 10 * reference.Next() + 0.5));

    KParameterRecord list = KParameterRecord::List("l", "l", nullptr, 5, 0);
    Randomize(list, 1.0);
    EXPECT_EQ(list.list.selected, int(reference.Next() * 5));

    KParameterRecord fixed = KParameterRecord::Float("y", "y", 0, 1, 0.5);
    fixed.SetFlag(KParameterFlag::Randomizable, false);
    Randomize(fixed, 1.0);
    EXPECT_DOUBLE_EQ(fixed.floating.value, 0.5);
    EXPECT_EQ(KRandom::State(), reference.state);  // no draw for a record that is not randomisable
}

TEST(ParameterMapping, PartialRandomizeMovesAroundTheCurrentPosition) {
    KRandom::Seed(99);
    ReferenceRandom reference{99};
    KParameterRecord record = KParameterRecord::Float("x", "x", 0, 1, 0.5);
    Randomize(record, 0.1);
    const double r = reference.Next();
    EXPECT_DOUBLE_EQ(record.floating.value, 0.5 + (2 * r * 0.1 - 0.1));

    KParameterRecord integer = KParameterRecord::Integer("n", "n", 0, 100, 50);
    Randomize(integer, 0.2);
    const double r2 = reference.Next();
    const double d = 100 * 0.2;
    EXPECT_EQ(integer.integer.value, 50 + int(std::floor(2 * r2 * d - d + 0.5)));
}

}  // namespace
