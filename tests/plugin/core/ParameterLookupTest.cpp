#include <gtest/gtest.h>

#include <vector>

#include "plugin/core/KParameterLookup.h"

namespace {

std::vector<KString> Keys(std::initializer_list<const char*> texts) {
    std::vector<KString> keys;
    for (const char* text : texts) keys.push_back(KString::FromUTF8(text));
    return keys;
}

KString Text(const char* utf8) { return KString::FromUTF8(utf8); }

TEST(ParameterLookup, IdentifiersMatchWholeAndWithoutRegardToCase) {
    const KParameterLookup lookup(Keys({"depth0", "frequency0", "depth1", "Ölpegel"}),
                                  Keys({"Depth", "Frequency", "Depth", "Öl"}));
    EXPECT_EQ(lookup.Find(Text("DEPTH1")), 2);
    EXPECT_EQ(lookup.Find(Text("Frequency0")), 1);
    EXPECT_EQ(lookup.Find(Text("öLPEGEL")), 3);
    // Neither a part nor a longer key is the identifier.
    EXPECT_EQ(lookup.Find(Text("depth")), -1);  // a name, but shared
    EXPECT_EQ(lookup.Find(Text("depth01")), -1);
    EXPECT_EQ(lookup.Find(Text("frequency")), 1);  // the name, which only one parameter has
    EXPECT_EQ(lookup.Find(Text("freq")), -1);
    EXPECT_EQ(lookup.Find(KString()), -1);
}

// Stored keys come from states: one that is an identifier finds that
// parameter even when another parameter bears it as a name, and of two
// parameters with one identifier the first wins.
TEST(ParameterLookup, IdentifiersComeBeforeNamesAndTheFirstOfEqualOnesWins) {
    const KParameterLookup lookup(Keys({"gain", "mix", "Gain", "level"}), Keys({"Level", "Mix", "Other", "Gain"}));
    EXPECT_EQ(lookup.Find(Text("GAIN")), 0);
    EXPECT_EQ(lookup.Find(Text("level")), 3);
    // "Mix" and "mix" are the same key: one parameter, not a shared name.
    EXPECT_EQ(lookup.Find(Text("Mix")), 1);
    EXPECT_EQ(lookup.Find(Text("other")), 2);
}

TEST(ParameterLookup, NamesThatDifferOnlyInCaseAreShared) {
    const KParameterLookup lookup(Keys({"a", "b", "c"}), Keys({"Depth", "DEPTH", "Rate"}));
    EXPECT_EQ(lookup.Find(Text("depth")), -1);
    EXPECT_EQ(lookup.Find(Text("rate")), 2);
}

// A damaged state may hold a key with a zero unit inside; it must not find
// the parameter named by the part before the zero.
TEST(ParameterLookup, AZeroInsideAKeyIsPartOfIt) {
    const KParameterLookup lookup(Keys({"depth0", "rate"}), Keys({"Depth", "Rate"}));
    EXPECT_EQ(lookup.Find(KString::FromUTF16(u"depth0\0x", 8)), -1);
    EXPECT_EQ(lookup.Find(KString::FromUTF16(u"rate\0", 5)), -1);
    EXPECT_EQ(lookup.Find(KString::FromUTF16(u"rate", 4)), 1);
}

TEST(ParameterLookup, AnEmptyListFindsNothing) {
    const KParameterLookup lookup({}, {});
    EXPECT_EQ(lookup.Find(Text("anything")), -1);
}

}  // namespace
