#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/text/KFormatScanner.h"

namespace {

std::u16string Units(const KString& s) { return s.ToUTF16(); }

TEST(KFormatScanner, ReadsUpToTheCharacterAfterThePlaceholder) {
    KFormatScanner scanner("{0},{1}", "3,4");
    EXPECT_EQ(scanner.ArgumentCount(), 2);
    KString first;
    KString second;
    scanner >> first >> second;
    EXPECT_EQ(Units(first), u"3");
    EXPECT_EQ(Units(second), u"4");
}

TEST(KFormatScanner, ReadsUpToWhiteSpaceWhenWhiteSpaceFollows) {
    KString text;
    double value = 0;
    KFormatScanner("{0} ms", "12.5 ms") >> text;
    KFormatScanner("{0} ms", "12.5 ms") >> value;
    EXPECT_EQ(Units(text), u"12.5");
    EXPECT_EQ(value, 12.5);
    KFormatScanner("{0}", "abc def") >> text;
    EXPECT_EQ(Units(text), u"abc");
}

TEST(KFormatScanner, ExtractionBeyondTheFoundArgumentsLeavesTheTarget) {
    KFormatScanner scanner("{0},{1}", "3");
    EXPECT_EQ(scanner.ArgumentCount(), 1);
    std::int64_t first = -1;
    std::int64_t second = -1;
    double third = -1.5;
    KString fourth = "unchanged";
    scanner >> first >> second >> third >> fourth;
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(third, -1.5);
    EXPECT_EQ(Units(fourth), u"unchanged");
}

TEST(KFormatScanner, WhiteSpaceMatchesAnyRunButNeedsOne) {
    int a = 0;
    int b = 0;
    KFormatScanner("{0} {1}", "1 \t\t  2") >> a >> b;
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);

    KFormatScanner missing("{0}; {1}", "1;2");
    EXPECT_EQ(missing.ArgumentCount(), 1);

    KFormatScanner spaced("{0}  ;{1}", "5   ;6");  // both runs are skipped
    EXPECT_EQ(spaced.ArgumentCount(), 2);
}

TEST(KFormatScanner, StopsAtTheFirstMismatchOrEnd) {
    KFormatScanner mismatch("a{0}", "b5");
    EXPECT_EQ(mismatch.ArgumentCount(), 0);
    KFormatScanner empty("{0}", "");
    EXPECT_EQ(empty.ArgumentCount(), 0);
    KFormatScanner unfinished("{0;.2", "1.5");  // scanning never raises
    EXPECT_EQ(unfinished.ArgumentCount(), 0);

    KString value = "kept";
    KFormatScanner("Gain: {0} dB", "Gain= 3 dB") >> value;
    EXPECT_EQ(Units(value), u"kept");
}

TEST(KFormatScanner, ClosingBraceTakesTheNextTemplateCharacterLiterally) {
    KString text;
    KFormatScanner("x}y{0}", "xy42") >> text;
    EXPECT_EQ(Units(text), u"42");
}

TEST(KFormatScanner, ReadsArgumentsInIndexOrder) {
    KString first;
    KString second;
    KFormatScanner("{1}-{0}", "left-right") >> first >> second;
    EXPECT_EQ(Units(first), u"right");
    EXPECT_EQ(Units(second), u"left");
}

TEST(KFormatScanner, ExtractsIntegersByTheirFlags) {
    std::int64_t value = 0;
    KFormatScanner("{0;x}", "fF") >> value;
    EXPECT_EQ(value, 255);
    KFormatScanner("{0}", "-42") >> value;
    EXPECT_EQ(value, -42);
    KFormatScanner("{0;+}", "+12") >> value;
    EXPECT_EQ(value, 12);
    KFormatScanner("{0}", "+12") >> value;  // integer parsing reads no plus sign
    EXPECT_EQ(value, 0);
    unsigned char small = 0;
    KFormatScanner("#{0;x}", "#7f") >> small;
    EXPECT_EQ(small, 0x7F);
}

TEST(KFormatScanner, ExtractsDoublesAsAtofDoes) {
    double value = -1;
    KFormatScanner("{0}", "+12") >> value;
    EXPECT_EQ(value, 12.0);
    KFormatScanner("{0} Hz", "1e3x Hz") >> value;
    EXPECT_EQ(value, 1000.0);
    KFormatScanner("{0}", "abc") >> value;
    EXPECT_EQ(value, 0.0);
    float single = 0;
    KFormatScanner("{0;.2} %", "-0.25 %") >> single;
    EXPECT_EQ(single, -0.25f);
}

}  // namespace
