#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "foundation/core/KException.h"
#include "foundation/streams/KHexaStream.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/streams/KZLibStream.h"

namespace {

// Builds random trees within what the format preserves: names are non-empty
// runs of name characters not starting with "?"; texts have no white space at
// either end and single spaces between words (the parser trims pieces and
// the indented writer turns a space into a line break); a zero character,
// lone surrogates and the byte-order mark never occur in a text.
class RandomTree {
public:
    explicit RandomTree(unsigned seed) : m_random(seed) {}

    void Fill(KXMLItem& root, int itemCount, int maxDepth, int maxTextWords = 40) {
        m_maxTextWords = maxTextWords;
        root.SetName(Name());
        Decorate(root);
        std::vector<KXMLItem*> open{&root};
        for (int i = 1; i < itemCount; ++i) {
            KXMLItem& parent = *open[Pick(int(open.size()))];
            KXMLItem& item = parent.AddSubItem(Name());
            Decorate(item);
            if (item.Depth() < maxDepth) open.push_back(&item);
        }
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    KString Name() {
        static const std::u16string kFirst = u"abcXYZ_\u00e9\u4e2d";
        static const std::u16string kRest = u"abcXYZ_\u00e9\u4e2d0123456789.-:?&'";
        std::u16string name(1, kFirst[std::size_t(Pick(int(kFirst.size())))]);
        for (int n = Pick(8); n > 0; --n) name += kRest[std::size_t(Pick(int(kRest.size())))];
        return KString::FromUTF16(name);
    }

    std::u16string Word() {
        static const std::u16string kCharacters =
            u"abcdefghijklmnopqrstuvwxyz0123456789&<>'\"=/!;#\u00e9\u20ac\u4e2d\U0001F600";
        std::u16string word;
        for (int n = 1 + Pick(12); n > 0; --n) {
            const std::size_t at = std::size_t(Pick(int(kCharacters.size())));
            const char16_t c = kCharacters[at];
            if (c >= 0xD800 && c <= 0xDFFF) word += u"\U0001F600";  // keep the pair whole
            else word += c;
        }
        if (Pick(8) == 0) word = u"x\n\t\r" + word;  // control characters inside a word survive
        return word;
    }

    KString Text(int maxWords) {
        std::u16string text = Word();
        for (int n = maxWords > 0 ? Pick(maxWords) : 0; n > 0; --n) text += u' ' + Word();
        return KString::FromUTF16(text);
    }

    void Decorate(KXMLItem& item) {
        if (Pick(3) == 0) item.SetText(Text(m_maxTextWords));
        std::set<std::string> used;
        for (int n = Pick(6); n > 0; --n) {
            const KString name = Name();
            // Names equal without regard to case would collapse into one.
            std::string key = name.ToUTF8();
            for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
            if (!used.insert(key).second) continue;
            // Attribute values keep any white space, even at the ends.
            item.SetAttribute(name, Pick(4) == 0 ? KString() : KString::FromUTF16(u" " + Word() + u"\n "));
        }
    }

    std::mt19937 m_random;
    int m_maxTextWords = 40;
};

void ExpectSameTree(const KXMLItem& expected, const KXMLItem& actual) {
    ASSERT_EQ(expected.Name().ToUTF8(), actual.Name().ToUTF8());
    ASSERT_EQ(expected.Text().ToUTF8(), actual.Text().ToUTF8());
    ASSERT_EQ(expected.Attributes().Count(), actual.Attributes().Count());
    for (int i = 0; i < expected.Attributes().Count(); ++i) {
        ASSERT_EQ(expected.Attributes()[i].name.ToUTF8(), actual.Attributes()[i].name.ToUTF8());
        ASSERT_EQ(expected.Attributes()[i].value.ToUTF8(), actual.Attributes()[i].value.ToUTF8());
    }
    ASSERT_EQ(expected.SubItemCount(), actual.SubItemCount());
    for (int i = 0; i < expected.SubItemCount(); ++i) ExpectSameTree(expected.SubItemAt(i), actual.SubItemAt(i));
}

struct Layout {
    const char* encoding;
    bool compact;
};

class KXMLRoundTrip : public testing::TestWithParam<Layout> {};

TEST_P(KXMLRoundTrip, LargeRandomTreesComeBackUnchanged) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        KXMLDocument original;
        original.SetEncoding(KString::FromUTF8(GetParam().encoding));
        // The indented writer wraps long texts at spaces and the wrapping is
        // read back as content, so only compact layouts carry texts of many words.
        RandomTree(seed).Fill(original.Root(), 2000, 40, GetParam().compact ? 40 : 0);
        KMemoryStream text;
        KHexaStream hexa(&text);
        // Odd seeds go through a hexadecimal stream as well.
        KStream& output = seed % 2 ? static_cast<KStream&>(hexa) : text;
        original.Write(output, GetParam().compact);

        text.Seek(0, KStream::SeekOrigin::Start);
        KHexaStream input(&text);
        KXMLDocument loaded;
        loaded.Parse(seed % 2 ? static_cast<KStream&>(input) : text);
        ExpectSameTree(original.Root(), loaded.Root());
        EXPECT_EQ(loaded.Encoding(), original.Encoding());
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, KXMLRoundTrip,
                         testing::Values(Layout{"utf-8", false}, Layout{"utf-8", true}, Layout{"utf-16", false},
                                         Layout{"UTF-16", true}));

// The loader takes compressed data, plain text, and the compressed form as
// presets store it (hexadecimal text), each from wherever the stream stands.
TEST(KXMLDocumentLoader, ReadsCompressedOrPlainFromTheStartPosition) {
    KXMLDocument original("settings");
    RandomTree(11).Fill(original.Root(), 3000, 12);
    for (int form = 0; form < 2; ++form) {
        KMemoryStream stream;
        stream.Write("prefix", 6);
        if (form == 0) original.WriteCompressed(stream);
        else original.Write(stream, true);
        stream.Seek(6, KStream::SeekOrigin::Start);
        KXMLDocument loaded;
        loaded.ParseCompressedOrPlain(stream);
        ExpectSameTree(original.Root(), loaded.Root());
    }

    KMemoryStream text;
    KHexaStream hexa(&text);
    original.WriteCompressed(hexa);
    text.Seek(0, KStream::SeekOrigin::Start);
    KHexaStream reader(&text);
    KZLibStream decompressed(&reader, false);
    KXMLDocument loaded;
    loaded.Parse(decompressed);
    ExpectSameTree(original.Root(), loaded.Root());
}

TEST(KXMLDocumentLoader, CorruptCompressedDataFails) {
    KXMLDocument original("settings");
    original.Root().AddSubItem("child").SetText("some text that compresses");
    KMemoryStream packed;
    original.WriteCompressed(packed);
    std::string bytes(reinterpret_cast<const char*>(packed.Data()), std::size_t(packed.Size()));
    for (std::size_t i = 2; i < bytes.size(); ++i) bytes[i] = char(bytes[i] ^ 0x5A);  // behind the header
    KMemoryStream broken(bytes.data(), int(bytes.size()));
    KXMLDocument loaded;
    EXPECT_THROW(loaded.ParseCompressedOrPlain(broken), KException);
}

}  // namespace
