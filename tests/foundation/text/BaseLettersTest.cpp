#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/text/BaseLetters.h"

namespace {

TEST(KBaseLetter, TableHas988SortedPairs) {
    const auto pairs = KBaseLetterPairs();
    EXPECT_EQ(pairs.size(), 988u);
    EXPECT_TRUE(std::adjacent_find(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
                    return a.character >= b.character;
                }) == pairs.end());
    EXPECT_EQ(pairs.front().character, 192);
}

// Expected bases from the Unicode character names: "X WITH <mark>" -> X.
TEST(KBaseLetter, MapsMarkedLettersOfEachScript) {
    for (char16_t c = 192; c <= 197; ++c) EXPECT_EQ(KBaseLetter(c), u'A') << int(c);
    for (char16_t c = 224; c <= 229; ++c) EXPECT_EQ(KBaseLetter(c), u'a') << int(c);
    EXPECT_EQ(KBaseLetter(u'\u00C7'), u'C');
    EXPECT_EQ(KBaseLetter(u'\u1E08'), u'C');       // C with cedilla and acute, two levels down
    EXPECT_EQ(KBaseLetter(u'\u01FA'), u'A');       // A with ring above and acute
    EXPECT_EQ(KBaseLetter(u'\u0386'), u'\u0391');  // Greek Alpha with tonos
    EXPECT_EQ(KBaseLetter(u'\u1F0F'), u'\u0391');  // Greek Alpha with dasia and perispomeni
    EXPECT_EQ(KBaseLetter(u'\u0419'), u'\u0418');  // Cyrillic short I
    EXPECT_EQ(KBaseLetter(u'\u0451'), u'\u0435');  // Cyrillic io
    EXPECT_EQ(KBaseLetter(u'\uFB2A'), u'\u05E9');  // Hebrew shin with shin dot
    EXPECT_EQ(KBaseLetter(u'\uFB4E'), u'\u05E4');  // Hebrew pe with rafe
    EXPECT_EQ(KBaseLetter(u'\u304C'), u'\u304B');  // hiragana ga
    EXPECT_EQ(KBaseLetter(u'\u30D1'), u'\u30CF');  // katakana pa
}

TEST(KBaseLetter, LeavesOtherCharactersAlone) {
    // Letters that are not a base plus marks, and aliases with a single-part
    // decomposition (Angstrom sign, CJK compatibility ideograph).
    for (char16_t c : {u'\u00C6', u'\u00D7', u'\u00DF', u'\u00F8', u'\u0131', u'\u212B', u'\uF900', u'\u2ADC'})
        EXPECT_EQ(KBaseLetter(c), c) << int(c);
}

}  // namespace
