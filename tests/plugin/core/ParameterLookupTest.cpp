#include <gtest/gtest.h>

#include <vector>

#include "plugin/core/KParameterLookup.h"

namespace {

// A parameter list given by its identifiers and names.
class Parameters {
public:
    Parameters(std::initializer_list<const char*> ids, std::initializer_list<const char*> names)
        : m_ids(Keys(ids)), m_names(Keys(names)),
          m_lookup(int(m_ids.size()), [this](int i) { return m_ids.at(std::size_t(i)); },
                   [this](int i) { return m_names.at(std::size_t(i)); }) {}

    int Find(const KString& key) const { return m_lookup.Find(key); }

private:
    static std::vector<KString> Keys(std::initializer_list<const char*> texts) {
        std::vector<KString> keys;
        for (const char* text : texts) keys.push_back(KString::FromUTF8(text));
        return keys;
    }

    std::vector<KString> m_ids, m_names;
    const KParameterLookup m_lookup;  // after the texts it reads
};

KString Text(const char* utf8) { return KString::FromUTF8(utf8); }

TEST(ParameterLookup, IdentifiersMatchWholeAndWithoutRegardToCase) {
    const Parameters lookup({"depth0", "frequency0", "depth1", "Ölpegel"}, {"Depth", "Frequency", "Depth", "Öl"});
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
    const Parameters lookup({"gain", "mix", "Gain", "level"}, {"Level", "Mix", "Other", "Gain"});
    EXPECT_EQ(lookup.Find(Text("GAIN")), 0);
    EXPECT_EQ(lookup.Find(Text("level")), 3);
    // "Mix" and "mix" are the same key: one parameter, not a shared name.
    EXPECT_EQ(lookup.Find(Text("Mix")), 1);
    EXPECT_EQ(lookup.Find(Text("other")), 2);
}

TEST(ParameterLookup, NamesThatDifferOnlyInCaseAreShared) {
    const Parameters lookup({"a", "b", "c"}, {"Depth", "DEPTH", "Rate"});
    EXPECT_EQ(lookup.Find(Text("depth")), -1);
    EXPECT_EQ(lookup.Find(Text("rate")), 2);
}

// A damaged state may hold a key with a zero unit inside; it must not find
// the parameter named by the part before the zero.
TEST(ParameterLookup, AZeroInsideAKeyIsPartOfIt) {
    const Parameters lookup({"depth0", "rate"}, {"Depth", "Rate"});
    EXPECT_EQ(lookup.Find(KString::FromUTF16(u"depth0\0x", 8)), -1);
    EXPECT_EQ(lookup.Find(KString::FromUTF16(u"rate\0", 5)), -1);
    EXPECT_EQ(lookup.Find(KString::FromUTF16(u"rate", 4)), 1);
}

TEST(ParameterLookup, AnEmptyListFindsNothing) {
    const Parameters lookup({}, {});
    EXPECT_EQ(lookup.Find(Text("anything")), -1);
}

}  // namespace
