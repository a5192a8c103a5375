#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"

namespace {

std::u16string Units(const KString& s) { return s.ToUTF16(); }

template <class... Arguments>
std::u16string Format(const KString& pattern, Arguments... arguments) {
    KFormatter formatter(pattern);
    ((formatter << arguments), ...);
    return Units(formatter);
}

TEST(KFormatter, FillsAdjacentPlaceholdersInTemplateOrder) {
    EXPECT_EQ(Format("{1}{0}", "a", "b"), u"ba");
    EXPECT_EQ(Format("{0}{1}", "a", "b"), u"ab");
    EXPECT_EQ(Format("{2}{0}{1}", "a", "b", "c"), u"cab");
    EXPECT_EQ(Format("{1}{2}{0}", "a", "b", "c"), u"bca");
    EXPECT_EQ(Format("<{1} of {0}>", 3, 10), u"<10 of 3>");
    EXPECT_EQ(Format("{0;.4}{1}Hz", 440.0, " "), u"440.0000 Hz");
}

TEST(KFormatter, EscapesBraces) {
    EXPECT_EQ(Format("x{{y}}"), u"x{y}");
    EXPECT_EQ(Format("{{0}} is {0}", 7), u"{0} is 7");
    EXPECT_EQ(Format("a}bc"), u"abc");  // "}" emits the character after it
    EXPECT_EQ(KFormatter("{{0}}").ArgumentCount(), 0);
}

TEST(KFormatter, CountsArgumentsByHighestIndex) {
    EXPECT_EQ(KFormatter("{3}").ArgumentCount(), 4);
    EXPECT_EQ(KFormatter("{0}{1}").ArgumentCount(), 2);
    EXPECT_EQ(KFormatter("no placeholder").ArgumentCount(), 0);
}

TEST(KFormatter, LeavesUnfedPlaceholdersEmpty) {
    EXPECT_EQ(Format("a{0}b{1}c", "X"), u"aXbc");
    EXPECT_EQ(Format("[{0}]"), u"[]");
    EXPECT_EQ(Format("{1}={0}", "only"), u"=only");
}

TEST(KFormatter, RepeatedIndexMovesThePlaceholder) {
    EXPECT_EQ(Format("{0}a{0}", "X"), u"aX");
}

TEST(KFormatter, InsertsTextsAsTheyAre) {
    EXPECT_EQ(Format("Service \"{0}\" is not implemented.", "Read"), u"Service \"Read\" is not implemented.");
    EXPECT_EQ(Format("{0;05x+}|{1}", KString::FromUTF16(u"\u00B0C"), "ab"), u"\u00B0C|ab");
    const char* missing = nullptr;
    EXPECT_EQ(Format("<{0}>", missing), u"<>");
}

TEST(KFormatter, FormatsSignedIntegers) {
    EXPECT_EQ(Format("{0}", -1234567), u"-1234567");
    EXPECT_EQ(Format("{0;x}", 255), u"FF");
    EXPECT_EQ(Format("{0;x}", -255), u"-FF");
    EXPECT_EQ(Format("{0;05}", 42), u"00042");
    EXPECT_EQ(Format("{0;03}", -5), u"-005");  // the width counts digits only
    EXPECT_EQ(Format("{0; 4}", -7), u"-   7");
    EXPECT_EQ(Format("{0;04x}", 255), u"00FF");
    EXPECT_EQ(Format("{0;02}", 12345), u"12345");
    EXPECT_EQ(Format("{0;+}|{1;+}|{2;+}", 5, 0, -3), u"+5|0|-3");
    EXPECT_EQ(Format("{0;+05}", 42), u"+00042");
    EXPECT_EQ(Format("{0}", std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
    // A bare digit other than 0 is skipped, so "{0;5}" has no width.
    EXPECT_EQ(Format("{0;5}", 42), u"42");
}

TEST(KFormatter, CapsTheWidthAt62) {
    // "099" reads width 99 from two characters, capped to 62 digits.
    EXPECT_EQ(Format("{0;099}", 1), std::u16string(61, u'0') + u"1");
}

TEST(KFormatter, FormatsUnsignedIntegers) {
    EXPECT_EQ(Format("{0}", std::numeric_limits<std::uint64_t>::max()), u"18446744073709551615");
    EXPECT_EQ(Format("{0;x}", std::numeric_limits<std::uint64_t>::max()), u"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("{0;+}|{1;+}", std::uint64_t(7), std::uint64_t(0)), u"+7|0");
    EXPECT_EQ(Format("{0;06x}", 0xBEEFu), u"00BEEF");
}

TEST(KFormatter, FormatsDoublesWithFixedDecimalsBelowPrecision10) {
    EXPECT_EQ(Format("{0;.2}", 3.14159), u"3.14");
    EXPECT_EQ(Format("{0}", 2.5), u"2.5000");  // 4 decimals by default
    EXPECT_EQ(Format("{0;.0}", 2.75), u"3");
    EXPECT_EQ(Format("{0;.1} kHz", 1.26), u"1.3 kHz");
    EXPECT_EQ(Format("{0;.02}", -0.125), u"-0.12");  // exact tie rounds to even as printf does
    EXPECT_EQ(Format("{0;.9}", 0.1), u"0.100000000");
    EXPECT_EQ(Format("{0;08.2}", 3.14159), u"3.14");  // width and fill do not apply
}

TEST(KFormatter, FormatsDoublesWithSignificantDigitsFromPrecision10) {
    EXPECT_EQ(Format("{0;.10}", 0.1), u"0.1");
    EXPECT_EQ(Format("{0;.10}", 1234567.891), u"1234567.891");
    EXPECT_EQ(Format("{0;.12}", 1e20), u"1e+20");
    EXPECT_EQ(Format("{0;.12}", 1.0 / 3.0), u"0.333333333333");
    EXPECT_EQ(Format("{0;.10}", 2.0), u"2");
}

TEST(KFormatter, PutsAPlusOnlyAboveZero) {
    EXPECT_EQ(Format("{0;+.1}", 0.0), u"0.0");
    EXPECT_EQ(Format("{0;+.1}", 0.5), u"+0.5");
    EXPECT_EQ(Format("{0;+.1}", -0.5), u"-0.5");
    EXPECT_EQ(Format("{0;+.1}", 1e-20), u"0.0");  // value - 1e-20 must exceed 0
    EXPECT_EQ(Format("{0;+.02}", 2.0), u"+2.00");
}

TEST(KFormatter, FormatsTheFloatParameterText) {
    EXPECT_EQ(Format("{0;.2} Hz", 440.0f), u"440.00 Hz");
}

TEST(KFormatter, RaisesWhenTheTemplateEndsInASpecification) {
    for (const KString& pattern : {KString("{0;.2"), KString("abc {1")}) {
        try {
            KFormatter formatter(pattern);
            ADD_FAILURE() << "no exception for " << pattern.ToUTF8();
        } catch (const KException& e) {
            EXPECT_EQ(Units(e.Message()), u"Formatting string ends in an argument specification.");
        }
    }
}

TEST(KFormatter, DropsALoneBraceAtTheEnd) {
    // "{" opens a placeholder only when another character follows it.
    EXPECT_EQ(Units(KFormatter("abc {")), u"abc ");
    EXPECT_EQ(Units(KFormatter("{")), u"");
}

TEST(KFormatter, CopiesShareTheCompiledTemplate) {
    KFormatter first("{0}-{1}");
    KFormatter second = first;
    second << 1;
    first << 2;
    EXPECT_EQ(Units(second), u"1-2");
}

}  // namespace
