#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/KException.h"
#include "foundation/KMemoryStream.h"
#include "foundation/KXMLDocument.h"

namespace {

std::unique_ptr<KXMLDocument> Load(const std::string& text) {
    KMemoryStream stream(text.data(), int(text.size()));
    auto document = std::make_unique<KXMLDocument>();
    document->Parse(stream);
    return document;
}

std::string ErrorOf(const std::string& text) {
    try {
        Load(text);
    } catch (const KException& e) {
        return e.Message().ToUTF8();
    }
    return "";
}

std::string Utf8(const KString& text) { return text.ToUTF8(); }

TEST(KXMLParser, BuildsTheTree) {
    auto document = Load(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<!DOCTYPE settings>\n"
        "<settings Version=\"3\">\n"
        "  <Controller Channel=\"1\"/>\n"
        "  <Other><Inner/></Other>\n"
        "</Settings>\n");
    const KXMLItem& root = document->Root();
    EXPECT_EQ(Utf8(root.Name()), "settings");
    EXPECT_EQ(Utf8(root.RequiredAttribute("version")), "3");
    ASSERT_EQ(root.SubItemCount(), 2);
    EXPECT_EQ(Utf8(root.SubItemAt(0).RequiredAttribute("Channel")), "1");
    EXPECT_EQ(Utf8(root.SubItemAt(1).SubItemAt(0).Name()), "Inner");
    EXPECT_EQ(root.SubItemAt(1).SubItemAt(0).Depth(), 2);
    EXPECT_EQ(Utf8(document->Encoding()), "utf-8");
}

TEST(KXMLParser, TextIsTrimmedAndPiecesAreJoined) {
    EXPECT_EQ(Utf8(Load("<a>  x  </a>")->Root().Text()), "x");
    EXPECT_EQ(Utf8(Load("<a>x<!-- comment -->y</a>")->Root().Text()), "x y");
    EXPECT_EQ(Utf8(Load("<a>x<b/>y</a>")->Root().Text()), "x y");
    // Lines of wrapped text are pieces of their own.
    EXPECT_EQ(Utf8(Load("<a>\n\t\tfirst line\n\t\tsecond\n</a>")->Root().Text()), "first line second");
    EXPECT_EQ(Utf8(Load("<a> <![CDATA[ <b>&amp; ]]> </a>")->Root().Text()), "<b>&amp;");
    EXPECT_EQ(Utf8(Load("<a><![IGNORE[ <b> ]]>t</a>")->Root().Text()), "t");
}

TEST(KXMLParser, EntitiesAreDecodedWhereTheyMatch) {
    const auto document = Load("<a v=\"a&amp;b\" w=\"&copy;\" x=\"&AMP;&#10;&lt&gt;\">&quot;&apos;&amp</a>");
    const KXMLItem& root = document->Root();
    EXPECT_EQ(Utf8(root.RequiredAttribute("v")), "a&b");
    EXPECT_EQ(Utf8(root.RequiredAttribute("w")), "&copy;");
    EXPECT_EQ(Utf8(root.RequiredAttribute("x")), "&\n&lt>");
    EXPECT_EQ(Utf8(root.Text()), "\"'&amp");
}

TEST(KXMLParser, AttributesMayBeUnquotedAndAreSorted) {
    const auto document = Load("<a x=5 b = \"2\" B=3 empty=/>");
    const KXMLItem& root = document->Root();
    ASSERT_EQ(root.Attributes().Count(), 3);
    EXPECT_EQ(Utf8(root.Attributes()[0].name), "b");
    EXPECT_EQ(Utf8(root.Attributes()[0].value), "3");  // the later value replaces the earlier
    EXPECT_EQ(Utf8(root.Attributes()[1].name), "empty");
    EXPECT_EQ(Utf8(root.Attributes()[1].value), "");
    EXPECT_EQ(Utf8(root.RequiredAttribute("x")), "5");
}

TEST(KXMLParser, OnlyTheFirstRootElementCounts) {
    const auto document = Load("<a><b/></a><c/>text after <<< garbage");
    EXPECT_EQ(Utf8(document->Root().Name()), "a");
    EXPECT_EQ(document->Root().SubItemCount(), 1);
}

TEST(KXMLParser, UnclosedElementsAtTheEndAreKept) {
    const auto document = Load("<a><b>text");
    EXPECT_EQ(Utf8(document->Root().SubItemAt(0).Text()), "text");
}

TEST(KXMLParser, SyntaxErrorsNameTheirCause) {
    const std::string prefix = "Invalid file contents. ";
    EXPECT_EQ(ErrorOf("<a><b></a>"), prefix + "Invalid closing element name.");
    EXPECT_EQ(ErrorOf("</a>"), prefix + "Invalid closing element name.");
    EXPECT_EQ(ErrorOf("<a></a b>"), prefix + "Invalid closing element syntax.");
    EXPECT_EQ(ErrorOf("<a>< b/></a>"), prefix + "No element name found.");
    EXPECT_EQ(ErrorOf("<a b/>"), prefix + "Invalid character found where attribute expected.");
    EXPECT_EQ(ErrorOf("<a b=1 /x>"), prefix + "Invalid element finishing sequence.");
    EXPECT_EQ(ErrorOf("<a =1>"), prefix + "Special character found where attribute expected.");
    EXPECT_EQ(ErrorOf("<?xml version=\"1.0\"><a/>"), prefix + "Invalid special element sequence.");
    EXPECT_EQ(ErrorOf("<?xml version=\"1.0\" ? ><a/>"), prefix + "Invalid special element sequence.");
    EXPECT_EQ(ErrorOf("text<a/>"), prefix + "Text outside of any element.");
    EXPECT_EQ(ErrorOf("<a b=\"unterminated"), prefix + "Unexpected end of data.");
    EXPECT_EQ(ErrorOf("<a><!-- unterminated"), prefix + "Unexpected end of data.");
}

TEST(KXMLParser, DataWithoutElementsIsRefused) {
    const std::string expected = "The XML does not contain any elements.";
    EXPECT_EQ(ErrorOf(""), expected);
    EXPECT_EQ(ErrorOf("<?xml version=\"1.0\"?>\n<!-- nothing -->\n"), expected);
    EXPECT_EQ(ErrorOf(std::string("\0<a/>", 5)), expected);  // a zero character ends the data
}

TEST(KXMLParser, DeclarationSelectsTheCodec) {
    // Bytes E9 and 80 are "é" and "€" in Windows-1252 but invalid UTF-8.
    const auto legacy = Load("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a t=\"\xE9\x80\"/>");
    EXPECT_EQ(legacy->Root().RequiredAttribute("t").ToUTF16(), u"\u00e9\u20ac");
    EXPECT_EQ(Utf8(legacy->Encoding()), "windows-1252");

    const auto plain = Load("\xEF\xBB\xBF<a t=\"\xC3\xA9\"/>");  // UTF-8 with byte-order mark
    EXPECT_EQ(plain->Root().RequiredAttribute("t").ToUTF16(), u"\u00e9");

    EXPECT_EQ(ErrorOf("<?xml version=\"1.0\" encoding=\"klingon\"?><a/>"), "No codec found for encoding klingon.");
}

TEST(KXMLParser, VeryDeepNestingNeitherCrashesNorRecurses) {
    constexpr int kDepth = 100000;
    std::string text;
    for (int i = 0; i < kDepth; ++i) text += "<a>";
    auto document = Load(text);
    const KXMLItem* item = &document->Root();
    int depth = 0;
    while (item->SubItemCount() > 0) {
        item = &item->SubItemAt(0);
        ++depth;
    }
    EXPECT_EQ(depth, kDepth - 1);
}

TEST(KXMLParser, ReparsingReplacesTheTree) {
    auto document = Load("<a x=\"1\"><b/></a>");
    const std::string text = "<c/>";
    KMemoryStream stream(text.data(), int(text.size()));
    document->Parse(stream);
    EXPECT_EQ(Utf8(document->Root().Name()), "c");
    EXPECT_EQ(document->Root().SubItemCount(), 0);
    EXPECT_EQ(document->Root().Attributes().Count(), 0);
}

}  // namespace
