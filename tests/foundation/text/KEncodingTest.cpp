#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/text/KEncoding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::u16string Decode(const KEncoding::Codec& codec, const Bytes& bytes) { return codec.Decode(bytes).ToUTF16(); }
Bytes Encode(const KEncoding::Codec& codec, std::u16string_view units) {
    return codec.Encode(KString::FromUTF16(units));
}

TEST(KEncoding, NamesTheCodecs) {
    EXPECT_EQ(KEncoding::ASCII().Name().ToUTF16(), u"ascii");
    EXPECT_EQ(KEncoding::UTF8().Name().ToUTF16(), u"utf8");
    EXPECT_EQ(KEncoding::UTF16().Name().ToUTF16(), u"utf16");
    EXPECT_EQ(KEncoding::Find("cp1252").Name().ToUTF16(), u"windows-1252");
}

TEST(KEncoding, FindsCodecsByNameIgnoringCase) {
    EXPECT_EQ(&KEncoding::Find(""), &KEncoding::ASCII());
    EXPECT_EQ(&KEncoding::Find("utf8"), &KEncoding::UTF8());
    EXPECT_EQ(&KEncoding::Find("UTF-8"), &KEncoding::UTF8());
    EXPECT_EQ(&KEncoding::Find("Utf16"), &KEncoding::UTF16());
    EXPECT_EQ(&KEncoding::Find("utf-16"), &KEncoding::UTF16());
    const KEncoding::Codec& western = KEncoding::Find("Windows-1252");
    EXPECT_EQ(&KEncoding::Find("ISO-8859-1"), &western);
    EXPECT_EQ(&KEncoding::Find("LATIN1"), &western);
    EXPECT_EQ(&KEncoding::Find("koi8-r"), &western);  // unknown names read as Windows-1252
    EXPECT_EQ(KEncoding::TableCodec::Find("koi8-r"), nullptr);
    EXPECT_EQ(KEncoding::TableCodec::Find("utf-7"), nullptr);
}

TEST(KEncodingUTF8, DecodesOneToFourByteSequences) {
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80}),
              u"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0xDF, 0xBF, 0xEF, 0xBF, 0xBD}), u"\u07FF\uFFFD");
}

TEST(KEncodingUTF8, DropsTheByteOrderMark) {
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0xEF, 0xBB, 0xBF, 0x41}), u"A");
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0x61, 0xEF, 0xBB, 0xBF, 0x62}), u"ab");
}

TEST(KEncodingUTF8, MarksBrokenSequencesWithUnit1) {
    // The breaking byte is consumed with the sequence: "A" after C3 is lost.
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0x78, 0xC3, 0x41, 0x42}), std::u16string(u"x\x01" u"B"));
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0xE2, 0x82, 0xC3, 0xA9}), std::u16string(1, u'\x01'));  // A9 alone is skipped
    // Stray continuation bytes and impossible lead bytes are skipped.
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0x80, 0x41, 0xBF, 0xF8, 0xFF, 0x42}), u"AB");
    // A sequence cut off by the end of the block yields nothing.
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0x41, 0xE2, 0x82}), u"A");
}

TEST(KEncodingUTF8, StopsAtAZeroByte) {
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0x41, 0x00, 0x42}), u"A");
    // Inside a sequence the zero byte is a breaking byte, not the end.
    EXPECT_EQ(Decode(KEncoding::UTF8(), {0xC3, 0x00, 0x42}), std::u16string(u"\x01" u"B"));
}

TEST(KEncodingUTF8, EncodesByValueRange) {
    EXPECT_EQ(Encode(KEncoding::UTF8(), u"\u007F\u0080\u07FF\u0800\uFFFF"),
              (Bytes{0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF}));
    EXPECT_EQ(Encode(KEncoding::UTF8(), u"\U0001F600\U0010FFFF"),
              (Bytes{0xF0, 0x9F, 0x98, 0x80, 0xF4, 0x8F, 0xBF, 0xBF}));
}

TEST(KEncodingUTF8, DropsLoneSurrogates) {
    // A lone low surrogate goes alone; a high surrogate takes the next unit with it.
    EXPECT_EQ(Encode(KEncoding::UTF8(), u"a\xDC00" u"b"), (Bytes{0x61, 0x62}));
    EXPECT_EQ(Encode(KEncoding::UTF8(), u"a\xD83D" u"xb"), (Bytes{0x61, 0x62}));
    EXPECT_EQ(Encode(KEncoding::UTF8(), u"a\xD83D\xD83D\xDE00" u"b"), (Bytes{0x61, 0x62}));
    EXPECT_EQ(Encode(KEncoding::UTF8(), u"a\xD83D"), (Bytes{0x61}));
}

TEST(KEncodingUTF16, CopiesLittleEndianUnits) {
    EXPECT_EQ(Decode(KEncoding::UTF16(), {0x41, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}), u"A\u20AC\U0001F600");
    EXPECT_EQ(Decode(KEncoding::UTF16(), {0x41, 0x00, 0x00, 0x00, 0x42, 0x00}), u"A");
    EXPECT_EQ(Decode(KEncoding::UTF16(), {0x41, 0x00, 0x42}), u"A");  // an odd last byte is no unit
    EXPECT_EQ(Encode(KEncoding::UTF16(), u"A\u20AC\xDC00"), (Bytes{0x41, 0x00, 0xAC, 0x20, 0x00, 0xDC}));
}

TEST(KEncodingASCII, WidensBytesAsSigned) {
    EXPECT_EQ(Decode(KEncoding::ASCII(), {0x41, 0xE9, 0x80, 0x7F}), u"A\uFFE9\uFF80\u007F");
    EXPECT_EQ(Decode(KEncoding::ASCII(), {0x41, 0x00, 0x42}), u"A");
}

TEST(KEncodingASCII, WritesBaseLettersThenLowBytes) {
    EXPECT_EQ(Encode(KEncoding::ASCII(), u"\u00C0\u00E9\u0100\u1EA0\u304C"),
              (Bytes{'A', 'e', 'A', 'A', 0x4B}));  // \u304C has base \u304B, low byte 4B
    EXPECT_EQ(Encode(KEncoding::ASCII(), u"\u00B0\u263A\u00C6"), (Bytes{0xB0, 0x3A, 0xC6}));
}

TEST(KEncodingTable, DecodesWindows1252) {
    const KEncoding::Codec& western = KEncoding::Find("windows-1252");
    EXPECT_EQ(Decode(western, {'2', '0', ' ', 0xB0, 'C'}), u"20 \u00B0C");
    EXPECT_EQ(Decode(western, {0x80, 0x8A, 0x96, 0x9F, 0xA0, 0xFF}), u"\u20AC\u0160\u2013\u0178\u00A0\u00FF");
    EXPECT_EQ(Decode(western, {0x81, 0x8D, 0x8F, 0x90, 0x9D}), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Decode(western, {0x41, 0x00, 0x42}), u"A");
}

TEST(KEncodingTable, EncodesWindows1252WithBaseLettersAndQuestionMarks) {
    const KEncoding::Codec& western = KEncoding::Find("windows-1252");
    EXPECT_EQ(Encode(western, u"20 \u00B0C \u20AC\u00E9"), (Bytes{'2', '0', ' ', 0xB0, 'C', ' ', 0x80, 0xE9}));
    EXPECT_EQ(Encode(western, u"\u0100\u015C\u03A9\u4E2D"), (Bytes{'A', 'S', '?', '?'}));
}

TEST(KEncodingTable, RoundTripsEveryByte) {
    const KEncoding::Codec& western = KEncoding::Find("windows-1252");
    Bytes all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(std::uint8_t(byte));
    EXPECT_EQ(western.Encode(western.Decode(all)), all);
}

}  // namespace
