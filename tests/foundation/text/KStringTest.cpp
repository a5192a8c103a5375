#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "foundation/text/KString.h"

namespace {

std::u16string Units(const KString& s) { return s.ToUTF16(); }

TEST(KString, LiteralIsBorrowedUntilChanged) {
    static const char text[] = "abc";
    KString s = text;
    EXPECT_TRUE(s.IsNarrowLiteral());
    EXPECT_EQ(s.Length(), 3);
    s.Append(u'd');
    EXPECT_FALSE(s.IsNarrowLiteral());
    EXPECT_EQ(s.ToUTF8(), "abcd");
}

TEST(KString, DefaultAndLiteralCopiesShareNothing) {
    KString empty;
    EXPECT_TRUE(empty.IsNarrowLiteral());
    EXPECT_TRUE(empty.IsEmpty());
    KString literal = "xyz";
    KString copy = literal;
    EXPECT_TRUE(copy.IsNarrowLiteral());
    EXPECT_EQ(copy.ShareCount(), 0);
    EXPECT_EQ(copy.CapacityBytes(), 0);
    EXPECT_EQ(copy[2], u'z');
}

TEST(KString, CopiesShareOneBufferUntilOneIsWritten) {
    KString original = KString::FromUTF8("shared");
    EXPECT_EQ(original.ShareCount(), 1);
    {
        KString copy = original;
        KString another;
        another = copy;
        EXPECT_EQ(original.ShareCount(), 3);
        copy.Append(u'!');
        EXPECT_EQ(original.ShareCount(), 2);
        EXPECT_EQ(copy.ShareCount(), 1);
        EXPECT_EQ(Units(copy), u"shared!");
        EXPECT_EQ(Units(original), u"shared");
        EXPECT_EQ(Units(another), u"shared");
    }
    EXPECT_EQ(original.ShareCount(), 1);

    KString moved = std::move(original);
    EXPECT_EQ(moved.ShareCount(), 1);
    EXPECT_TRUE(original.IsEmpty());  // NOLINT: a moved-from string is the empty literal
}

// Block size = 2n + 8 bytes (n units with the terminator), rounded up to a
// power of two.
TEST(KString, CapacityIsTheNextPowerOfTwoOfTheBlock) {
    EXPECT_EQ(KString::FromBytes("abc").CapacityBytes(), 16);    // n = 4: 16 stays 16
    EXPECT_EQ(KString::FromBytes("abcde").CapacityBytes(), 32);  // n = 6: 20 -> 32

    KString s;
    s.Reserve(27);  // n = 28: 64 stays 64
    EXPECT_EQ(s.CapacityBytes(), 64);
    s.Reserve(28);  // n = 29: 66 -> 128
    EXPECT_EQ(s.CapacityBytes(), 128);

    KString literal = "abc";
    literal.Append(u'd');  // n = 5: 18 -> 32
    EXPECT_EQ(literal.CapacityBytes(), 32);

    // Appending within the block keeps it; removing never shrinks it.
    for (char16_t c = u'e'; c <= u'k'; ++c) literal.Append(c);  // 11 units, n = 12: 32
    EXPECT_EQ(literal.CapacityBytes(), 32);
    literal.Append(u'l');  // n = 13: 34 -> 64
    EXPECT_EQ(literal.CapacityBytes(), 64);
    literal.Remove(0, 10);
    EXPECT_EQ(literal.CapacityBytes(), 64);
    EXPECT_EQ(Units(literal), u"kl");
}

TEST(KString, CopyOnWriteAllocatesForTheNeededSize) {
    KString original = KString::FromBytes("abcde");
    KString copy = original;
    copy.Append(u'f');  // private copy of n = 7: 22 -> 32
    EXPECT_EQ(copy.CapacityBytes(), 32);
    EXPECT_EQ(Units(copy), u"abcdef");
}

TEST(KString, ConstructsFromBuffers) {
    const char bytes[] = {'a', char(0xE9), 'b'};
    EXPECT_EQ(Units(KString::FromBytes(bytes, 3)), u"a\u00E9b");  // bytes widen unsigned
    EXPECT_EQ(Units(KString::FromUTF16(u"x\u20ACy", 3)), u"x\u20ACy");
    EXPECT_TRUE(KString::FromBytes(bytes, 0).IsEmpty());
    EXPECT_TRUE(KString::FromBytes(bytes, -1).IsEmpty());
    EXPECT_EQ(Units(KString::FromChar(u'\u00B0')), u"\u00B0");
}

TEST(KString, AppendsStringsCharactersAndItself) {
    KString s = "ab";
    s.Append(KString("cd")).Append(u'e');
    s += KString::FromUTF16(u"\u00E9");
    s += u'f';
    EXPECT_EQ(Units(s), u"abcde\u00E9f");
    s.Append(s);
    EXPECT_EQ(Units(s), u"abcde\u00E9fabcde\u00E9f");
    EXPECT_EQ(Units(KString("x") + KString("yz")), u"xyz");

    KString empty;
    KString shared = KString::FromUTF8("buffer");
    empty.Append(shared);  // appending to the empty literal just shares
    EXPECT_EQ(shared.ShareCount(), 2);
    EXPECT_EQ(Units(empty), u"buffer");
}

TEST(KString, AppendsAClampedRangeOfAStringOrOfItself) {
    KString s = KString::FromUTF16(u"<\u00E9>");
    s.Append("literal", 2, 3);  // from a borrowed literal: widened
    EXPECT_EQ(Units(s), u"<\u00E9>ter");
    s.Append(KString::FromUTF16(u"\u4e2d\u6587!"), 1, 5);  // past the end: up to it
    EXPECT_EQ(Units(s), u"<\u00E9>ter\u6587!");
    s.Append(s, 1, 2);
    EXPECT_EQ(Units(s), u"<\u00E9>ter\u6587!\u00E9>");
    const KString sharing = s;  // the same buffer, as another string
    s.Append(sharing, 0, 1);
    EXPECT_EQ(Units(sharing), u"<\u00E9>ter\u6587!\u00E9>");
    EXPECT_EQ(Units(s), u"<\u00E9>ter\u6587!\u00E9><");
    s.Append("xyz", -4, 1);  // a start before the beginning counts from 0
    s.Append("xyz", 5, 1);   // nothing left after the end
    s.Append("xyz", 1, -1);  // nor in a negative count
    EXPECT_EQ(Units(s), u"<\u00E9>ter\u6587!\u00E9><x");
}

TEST(KString, InsertsAtClampedPositions) {
    KString s = "ace";
    s.Insert(1, "b");
    s.Insert(3, "d");
    EXPECT_EQ(Units(s), u"abcde");
    s.Insert(0, "<");
    s.Insert(99, ">");
    s.Insert(-5, "[");
    EXPECT_EQ(Units(s), u"[<abcde>");
    s.Insert(2, s);
    EXPECT_EQ(Units(s), u"[<[<abcde>abcde>");
}

TEST(KString, RemovesClampedRanges) {
    KString s = "abcdefgh";
    s.Remove(2, 3);
    EXPECT_EQ(Units(s), u"abfgh");
    s.Remove(3, 100);
    EXPECT_EQ(Units(s), u"abf");
    s.Remove(-1, 1);
    EXPECT_EQ(Units(s), u"bf");
    s.Remove(5, 1);
    EXPECT_EQ(Units(s), u"bf");
    KString shared = s;
    shared.Remove(0, 1);
    EXPECT_EQ(Units(s), u"bf");
    EXPECT_EQ(Units(shared), u"f");
}

TEST(KString, TakesSubstrings) {
    const KString s = KString::FromUTF8("hello world");
    EXPECT_EQ(Units(s.Substring(6)), u"world");
    EXPECT_EQ(Units(s.Substring(0, 5)), u"hello");
    EXPECT_EQ(Units(s.Substring(4, 3)), u"o w");
    EXPECT_EQ(Units(s.Substring(8, 99)), u"rld");
    EXPECT_TRUE(s.Substring(11).IsEmpty());
    EXPECT_EQ(Units(KString("literal").Substring(3, 2)), u"er");
}

TEST(KString, ReplacesEveryOccurrenceOfACharacter) {
    KString s = "a,b,,c";
    s.ReplaceAll(u',', "; ");
    EXPECT_EQ(Units(s), u"a; b; ; c");
    s.ReplaceAll(u' ', "");
    EXPECT_EQ(Units(s), u"a;b;;c");
    s.ReplaceAll(u'x', "never");
    EXPECT_EQ(Units(s), u"a;b;;c");
}

TEST(KString, TrimsCodesUpTo32AtBothEnds) {
    KString s = KString::FromUTF16(u"\t\n \x01 in  side \r\x1F");
    s.Trim();
    EXPECT_EQ(Units(s), u"in  side");
    EXPECT_EQ(Units(KString("inner").Trimmed()), u"inner");
    EXPECT_TRUE(KString(" \t ").Trimmed().IsEmpty());
    EXPECT_EQ(Units(KString::FromUTF16(u"\u00A0x\u00A0").Trimmed()), u"\u00A0x\u00A0");  // 160 is not blank
}

TEST(KString, FindsForwardAndBackward) {
    const KString s = "abcabcab";
    EXPECT_EQ(s.Find(u'c'), 2);
    EXPECT_EQ(s.Find(u'c', 3), 5);
    EXPECT_EQ(s.Find(u'z'), KString::npos);
    EXPECT_EQ(s.Find("cab"), 2);
    EXPECT_EQ(s.Find("cab", 3), 5);
    EXPECT_EQ(s.Find("cab", 6), KString::npos);
    EXPECT_EQ(s.FindLast(u'a'), 6);
    EXPECT_EQ(s.FindLast(u'a', 5), 3);
    EXPECT_EQ(s.FindLast(u'c', 1), KString::npos);
    EXPECT_EQ(s.FindLast("abc"), 3);
    EXPECT_EQ(s.FindLast("abc", 2), 0);
    EXPECT_EQ(s.FindLast("bca", 0), KString::npos);
    EXPECT_TRUE(s.StartsWith("abca"));
    EXPECT_FALSE(s.StartsWith("abd"));
    EXPECT_FALSE(KString("ab").StartsWith("abc"));
}

TEST(KString, ComparesByFirstDifferingUnit) {
    EXPECT_EQ(KString("abc").Compare("abd"), 'c' - 'd');
    EXPECT_EQ(KString("abc").Compare(KString::FromUTF8("abc")), 0);
    EXPECT_LT(KString("ab").Compare("abc"), 0);
    EXPECT_GT(KString("b").Compare("abc"), 0);
    EXPECT_TRUE(KString("abc") == KString::FromUTF8("abc"));
    EXPECT_TRUE(KString("abc") < KString("abd"));
}

TEST(KString, ComparesCaseInsensitivelyByBaseLetters) {
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF16(u"\u00C0BC"), "abc"), 0);
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF16(u"\u00C9t\u00E9"), "ETE"), 0);
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF16(u"\u0386"), KString::FromUTF16(u"\u0391")), 0);  // Greek
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF16(u"\u304C"), KString::FromUTF16(u"\u304B")), 0);  // kana
    // The difference of the folded units: "a" (97) against "B" folded to "b" (98).
    EXPECT_EQ(KString::CompareNoCase("a", "B"), -1);
    EXPECT_EQ(KString::CompareNoCase("ab", "a"), 'b');
    // The same with each kind of storage on each side: a borrowed literal or
    // a buffer of its own.
    EXPECT_EQ(KString::CompareNoCase("A", KString::FromUTF8("ab")), -'b');
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF8("aB"), KString::FromUTF8("Ab")), 0);
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF8("b"), "AZ"), 'b' - 'a');
    // At most n characters; a zero character ends early.
    EXPECT_EQ(KString::CompareNoCase("abcX", "ABCY", 3), 0);
    EXPECT_NE(KString::CompareNoCase("abcX", "ABCY", 4), 0);
    EXPECT_EQ(KString::CompareNoCase(KString::FromUTF16(u"a\0x", 3), KString::FromUTF16(u"a\0y", 3)), 0);
    // Letters without a base letter stay distinct, and case folding is ASCII only.
    EXPECT_NE(KString::CompareNoCase(KString::FromUTF16(u"\u00C6"), "a"), 0);
    EXPECT_NE(KString::CompareNoCase(KString::FromUTF16(u"\u00E0"), KString::FromUTF16(u"\u00C1")), 'a' - 'A');
    EXPECT_TRUE(KString("Hello").EqualsNoCase("hELLO"));
    EXPECT_FALSE(KString("Hello").EqualsNoCase("hELLO!"));
}

// Lookups keep only the hash of a key, so every pair EqualsNoCase joins
// must hash alike, whatever the storage.
TEST(KString, TextsEqualWithoutRegardToCaseHashAlike) {
    const std::pair<KString, KString> equal[] = {
        {"Hello", KString::FromUTF8("hELLO")},
        {KString::FromUTF16(u"\u00C9t\u00E9"), "ETE"},
        {KString::FromUTF16(u"\u0386"), KString::FromUTF16(u"\u0391")},
        {KString::FromUTF16(u"a\0x", 3), KString::FromUTF16(u"A\0y", 3)},  // the comparison ends at the zero
        {KString(), KString::FromUTF8("")},
    };
    for (const auto& [a, b] : equal) {
        ASSERT_TRUE(a.EqualsNoCase(b)) << a.ToUTF8();
        EXPECT_EQ(a.HashNoCase(), b.HashNoCase()) << a.ToUTF8();
    }
    EXPECT_NE(KString("Hello").HashNoCase(), KString("Hello!").HashNoCase());
    EXPECT_NE(KString("ab").HashNoCase(), KString("ba").HashNoCase());
    EXPECT_NE(KString::FromUTF16(u"a\0", 2).HashNoCase(), KString("a").HashNoCase());
}

TEST(KString, PrintfWidensEachByte) {
    EXPECT_EQ(Units(KString::Printf("%d-%s-%.2f", 42, "x", 3.14159)), u"42-x-3.14");
    EXPECT_EQ(Units(KString::Printf("%c", 0xE9)), u"\u00E9");
    const std::string longText(9000, 'q');
    EXPECT_EQ(KString::Printf("%s", longText.c_str()).Length(), 8191);
}

TEST(KString, ConvertsToAndFromUTF8) {
    const KString s = KString::FromUTF8("gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");
    EXPECT_EQ(Units(s), u"gr\u00FC\u00DF \U0001F600");
    EXPECT_EQ(s.Length(), 7);  // the emoji takes a surrogate pair
    EXPECT_EQ(s.ToUTF8(), "gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");
    EXPECT_EQ(KString("plain").ToUTF8(), "plain");
}

}  // namespace
