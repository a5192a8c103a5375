#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "foundation/core/KException.h"
#include "foundation/text/NumberText.h"

namespace {

struct IntegerCase {
    const char* text;
    int radix;
    std::int64_t value;
    int consumed;
};

TEST(KNumberText, ParsesIntegersUntilTheFirstNonDigit) {
    const IntegerCase cases[] = {
        {"-1f", 16, -31, 3},
        {"12ab", 10, 12, 2},
        {"FFff", 16, 0xFFFF, 4},
        {"19", 8, 1, 1},  // 9 is not below the radix
        {"1011z", 2, 11, 4},
        {"7fffffffffffffff", 16, std::numeric_limits<std::int64_t>::max(), 16},
        {"", 10, 0, 0},
        {"-", 10, 0, 1},  // the minus counts as consumed
        {"zz", 16, 0, 0},
        {"+5", 10, 0, 0},
        {" 5", 10, 0, 0},
        {"--5", 10, 0, 1},
    };
    for (const IntegerCase& c : cases) {
        int consumed = -1;
        EXPECT_EQ(KNumberText::ParseInteger(KString::FromBytes(c.text), c.radix, &consumed), c.value) << c.text;
        EXPECT_EQ(consumed, c.consumed) << c.text;
    }
    EXPECT_EQ(KNumberText::ParseInteger("250", 10), 250);
}

TEST(KNumberText, ConvertsHexadecimalDigits) {
    const std::u16string upper = u"0123456789ABCDEF";
    const std::u16string lower = u"0123456789abcdef";
    for (int value = 0; value < 16; ++value) {
        EXPECT_EQ(KNumberText::HexDigit(upper[std::size_t(value)]), value);
        EXPECT_EQ(KNumberText::HexDigit(lower[std::size_t(value)]), value);
    }
}

TEST(KNumberText, RejectsCharactersThatAreNoHexadecimalDigit) {
    // The neighbours of each digit range, and letters just past F.
    for (char16_t c : {u'/', u':', u'@', u'G', u'`', u'g', u' ', u'\0', u'\uFF10'}) {
        try {
            KNumberText::HexDigit(c);
            ADD_FAILURE() << "accepted " << int(c);
        } catch (const KException& e) {
            EXPECT_EQ(e.Message().ToUTF16(), u"Invalid character to be converted to a number.");
        }
    }
}

struct DoubleCase {
    const char* text;
    double value;
};

TEST(KNumberText, ParsesDoublesAsAtofDoes) {
    const DoubleCase cases[] = {
        {"12.5", 12.5},      {"  \t\n12.5xyz", 12.5}, {"-0.5", -0.5},   {"+3", 3.0},
        {"1e3", 1000.0},     {"1E-2", 0.01},         {"1e", 1.0},      {"2.5e+", 2.5},
        {".5", 0.5},         {"5.", 5.0},            {"1.5.3", 1.5},   {"1,5", 1.0},
        {"0x1A", 26.0},      {"0X1.8p1", 3.0},       {"0x", 0.0},      {"0xg", 0.0},
        {"abc", 0.0},        {"", 0.0},              {".", 0.0},       {"+-1", 0.0},
        {"- 1", 0.0},        {"1e-310", 1e-310},     {"1e-400", 0.0},  {"-1e-400", 0.0},
    };
    for (const DoubleCase& c : cases)
        EXPECT_EQ(KNumberText::ParseDouble(KString::FromBytes(c.text)), c.value) << c.text;
}

// A text without a number reads as 0 like a typed 0; the trying form tells
// the two apart.
TEST(KNumberText, TellsTextsWithoutANumberFromZero) {
    for (const char* text : {"0", " -0.0", "0x", "1e-400", "inf", "5 apples"}) {
        double value = -1;
        EXPECT_TRUE(KNumberText::TryParseDouble(KString::FromBytes(text), value)) << text;
        EXPECT_EQ(value, KNumberText::ParseDouble(KString::FromBytes(text))) << text;
    }
    for (const char* text : {"", "abc", "-", ".", "+-1", "- 1", "e5"}) {
        double value = -1;
        EXPECT_FALSE(KNumberText::TryParseDouble(KString::FromBytes(text), value)) << text;
        EXPECT_EQ(value, 0.0) << text;
    }
}

// A sign with no number after it converts nothing: atof answers plain 0,
// which displays as "0.00", never "-0.00". A real negative zero keeps its sign.
TEST(KNumberText, ASignWithoutANumberGivesPositiveZero) {
    for (const char* text : {"-", "-abc", " - 1", "-.", "-e5"}) {
        const double value = KNumberText::ParseDouble(KString::FromBytes(text));
        EXPECT_FALSE(std::signbit(value)) << text;
        EXPECT_EQ(KNumberText::Double(value, 2).ToUTF16(), u"0.00") << text;
        double tried = -1;
        KNumberText::TryParseDouble(KString::FromBytes(text), tried);
        EXPECT_FALSE(std::signbit(tried)) << text;
    }
    for (const char* text : {"-0", "-0x", "-0.0e7", "-1e-400"})
        EXPECT_TRUE(std::signbit(KNumberText::ParseDouble(KString::FromBytes(text)))) << text;
}

TEST(KNumberText, ParsesInfinitiesAndNaNs) {
    EXPECT_EQ(KNumberText::ParseDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(KNumberText::ParseDouble("-1e400"), -HUGE_VAL);
    EXPECT_EQ(KNumberText::ParseDouble("INF"), HUGE_VAL);
    EXPECT_EQ(KNumberText::ParseDouble("-Infinity"), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(KNumberText::ParseDouble("nan")));
    EXPECT_TRUE(std::signbit(KNumberText::ParseDouble("-0")));
}

TEST(KNumberText, JudgesOutOfRangeNumbersByTheirMagnitude) {
    // 1e400 and 1e-401 written out, and shifted by exponents: 1e-401 * 1e800
    // overflows, 1e400 * 1e-800 underflows.
    const std::string manyDigits = "1" + std::string(400, '0');
    const std::string tinyFraction = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(KNumberText::ParseDouble(KString::FromBytes(manyDigits)), HUGE_VAL);
    EXPECT_EQ(KNumberText::ParseDouble(KString::FromBytes(tinyFraction)), 0.0);
    EXPECT_EQ(KNumberText::ParseDouble(KString::FromBytes(tinyFraction + "e800")), HUGE_VAL);
    EXPECT_EQ(KNumberText::ParseDouble(KString::FromBytes(manyDigits + "e-800")), 0.0);
    EXPECT_EQ(KNumberText::ParseDouble("0x1p5000"), HUGE_VAL);
    EXPECT_EQ(KNumberText::ParseDouble("0x1p-5000"), 0.0);
    EXPECT_EQ(KNumberText::ParseDouble("1e99999999999999999999"), HUGE_VAL);
}

TEST(KNumberText, FormatsDigitsAndDoubles) {
    EXPECT_EQ(KNumberText::Digits(0, false).ToUTF16(), u"0");
    EXPECT_EQ(KNumberText::Digits(0xABCDEF, true).ToUTF16(), u"ABCDEF");
    EXPECT_EQ(KNumberText::Double(-std::numeric_limits<double>::infinity(), 2).ToUTF16(), u"-inf");
    // 1.8e308 in fixed notation: 309 digits, the point and 9 decimals.
    EXPECT_EQ(KNumberText::Double(1.7976931348623157e308, 9).Length(), 319);
    // A negative precision means none, as in printf: 6 decimals.
    EXPECT_EQ(KNumberText::Double(0.5, -1).ToUTF16(), u"0.500000");
}

}  // namespace
