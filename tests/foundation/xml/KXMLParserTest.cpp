#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "support/FailureMessage.h"

namespace {

void Parse(KXMLDocument& document, const std::string& text) {
    KMemoryStream stream(text.data(), int(text.size()));
    document.Parse(stream);
}

std::unique_ptr<KXMLDocument> Load(const std::string& text) {
    auto document = std::make_unique<KXMLDocument>();
    Parse(*document, text);
    return document;
}

std::string ErrorOf(const std::string& text) {
    return FailureMessage([&] { Load(text); });
}

std::string RootText(const std::string& text) { return Load(text)->Root().Text().ToUTF8(); }

TEST(KXMLParser, BuildsTheTreeAndStopsAfterTheRoot) {
    auto document = Load(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE settings>\n"
        "<settings Version=\"3\">\n  <Controller Channel=\"1\"/>\n  <Other><Inner/></Other>\n</Settings>\n"
        "<second/>text after <<< garbage");
    const KXMLItem& root = document->Root();
    EXPECT_EQ(root.Name().ToUTF8(), "settings");
    EXPECT_EQ(root.RequiredAttribute("version").ToUTF8(), "3");
    ASSERT_EQ(root.SubItemCount(), 2);
    EXPECT_EQ(root.SubItemAt(0).RequiredAttribute("Channel").ToUTF8(), "1");
    EXPECT_EQ(root.SubItemAt(1).SubItemAt(0).Depth(), 2);

    Parse(*document, "<a><b>unclosed at the end");  // lenient; and a new parse replaces the tree
    EXPECT_EQ(document->Root().Attributes().Count(), 0);
    EXPECT_EQ(document->Root().SubItemAt(0).Text().ToUTF8(), "unclosed at the end");
}

TEST(KXMLParser, TextIsTrimmedAndPiecesAreJoined) {
    EXPECT_EQ(RootText("<a>  x  </a>"), "x");
    EXPECT_EQ(RootText("<a>x<!-- comment -->y</a>"), "x y");
    EXPECT_EQ(RootText("<a>x<b/>y</a>"), "x y");
    // Character data up to the next "<" is one piece: inner line breaks stay.
    EXPECT_EQ(RootText("<a>\n\t\tline1\nline2\n</a>"), "line1\nline2");
    EXPECT_EQ(RootText("<a> <![CDATA[ <b>&amp; ]]> </a>"), "<b>&amp;");
    EXPECT_EQ(RootText("<a><![IGNORE[ <b> ]]>t</a>"), "t");
    EXPECT_EQ(RootText("<a>&quot;&apos;&amp</a>"), "\"'&amp");
}

TEST(KXMLParser, AttributesDecodeEntitiesAndMayBeUnquoted) {
    auto document = Load("<a v=\"a&amp;b\" w=\"&copy;\" x=\"&AMP;&#10;&lt&gt;\" n=5 b = \"2\" B=3 empty=/>");
    const KXMLItem& root = document->Root();
    EXPECT_EQ(root.RequiredAttribute("v").ToUTF8(), "a&b");
    EXPECT_EQ(root.RequiredAttribute("w").ToUTF8(), "&copy;");
    EXPECT_EQ(root.RequiredAttribute("x").ToUTF8(), "&\n&lt>");
    EXPECT_EQ(root.RequiredAttribute("n").ToUTF8(), "5");
    EXPECT_EQ(root.Attributes()[0].name.ToUTF8(), "b");
    EXPECT_EQ(root.Attributes()[0].value.ToUTF8(), "3");  // the later value replaces the earlier
    EXPECT_EQ(root.RequiredAttribute("empty").ToUTF8(), "");
    // Attributes in order already, as this system writes them: names that
    // match still merge.
    auto sorted = Load("<a a=\"1\" B=\"2\" b=\"3\" c=\"4\"/>");
    ASSERT_EQ(sorted->Root().Attributes().Count(), 3);
    EXPECT_EQ(sorted->Root().RequiredAttribute("b").ToUTF8(), "3");
    // Merged while in order, then out of order: the last value still wins.
    auto mixed = Load("<a a=\"1\" A=\"2\" c=\"3\" b=\"4\" a=\"5\" c=\"6\"/>");
    const KAttributeList& attributes = mixed->Root().Attributes();
    ASSERT_EQ(attributes.Count(), 3);
    EXPECT_EQ(attributes[0].value.ToUTF8() + attributes[1].value.ToUTF8() + attributes[2].value.ToUTF8(), "546");
}

TEST(KXMLParser, ErrorsNameTheirCause) {
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

    EXPECT_EQ(ErrorOf(""), "The XML does not contain any elements.");
    EXPECT_EQ(ErrorOf("<?xml version=\"1.0\"?>\n<!-- nothing -->\n"), "The XML does not contain any elements.");
    EXPECT_EQ(ErrorOf(std::string("\0<a/>", 5)), "The XML does not contain any elements.");  // zero ends the data
    EXPECT_EQ(ErrorOf("<?xml version=\"1.0\" encoding=\"klingon\"?><a/>"), "No codec found for encoding klingon.");
}

TEST(KXMLParser, DeclarationSelectsTheCodec) {
    // E9 and 80 are "é" and "€" in Windows-1252 but no UTF-8.
    auto legacy = Load("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a t=\"\xE9\x80\"/>");
    EXPECT_EQ(legacy->Root().RequiredAttribute("t").ToUTF16(), u"\u00e9\u20ac");
    EXPECT_EQ(legacy->Encoding().ToUTF8(), "windows-1252");
    auto plain = Load("\xEF\xBB\xBF<a t=\"\xC3\xA9\"/>");  // UTF-8 with byte-order mark
    EXPECT_EQ(plain->Root().RequiredAttribute("t").ToUTF16(), u"\u00e9");
}

// Names and short values are shared between items; texts that meet in a
// slot of the parser's table must still come out as written.
TEST(KXMLParser, RepeatedTextsAreSharedAndNeverConfused) {
    constexpr int kItems = 3000;
    const std::string longValue(40, 'x');  // too long to be shared
    std::string text = "<r>";
    for (int i = 0; i < kItems; ++i)
        text += "<e" + std::to_string(i % 700) + " a" + std::to_string(i % 900) + "=\"" + std::to_string(i % 1100) +
                "\" long=\"" + longValue + "\"/>";
    auto document = Load(text + "</r>");
    const KXMLItem& root = document->Root();
    ASSERT_EQ(root.SubItemCount(), kItems);
    for (int i = 0; i < kItems; ++i) {
        const KXMLItem& item = root.SubItemAt(i);
        ASSERT_EQ(item.Name().ToUTF8(), "e" + std::to_string(i % 700)) << i;
        ASSERT_EQ(item.RequiredAttribute(KString::FromUTF8("a" + std::to_string(i % 900))).ToUTF8(),
                  std::to_string(i % 1100)) << i;
        ASSERT_EQ(item.RequiredAttribute("long").ToUTF8(), longValue) << i;
    }
    auto same = Load("<r><same v=\"1\"/><same v=\"1\"/></r>");
    EXPECT_GE(same->Root().SubItemAt(0).Name().ShareCount(), 2);
    EXPECT_GE(same->Root().SubItemAt(1).RequiredAttribute("v").ShareCount(), 2);
}

// Names, values and text longer than the reader's 4096-byte blocks. In the
// text a two-byte character follows every single byte; 4096 is not a
// multiple of three, so some of them are split between two blocks, as are
// some of the four-byte characters further on.
TEST(KXMLParser, LongRunsCrossTheReadBlocks) {
    std::string wide;
    for (int i = 0; i < 5000; ++i) wide += "a\xC3\xA9";  // "aé", the é as two bytes
    const std::string name(5000, 'n');
    std::string astral;
    for (int i = 0; i < 2000; ++i) astral += "bc\xF0\x9F\x8E\xB5";  // U+1F3B5, a surrogate pair in UTF-16
    const std::string quoted = std::string(4090, 'v') + "\xC3\xA9" + std::string(3000, 'w') + astral;
    const std::string unquoted = "t" + std::string(4100, 'u') + "\xC3\xA9";
    const std::string text = "xyz" + wide + std::string(6000, 'y') + astral + "&lt;" + std::string(5000, 'z');
    auto document = Load("<r><" + name + " q=\"" + quoted + "\" u=" + unquoted + ">" + text + "</" + name + "></r>");
    const KXMLItem& item = document->Root().SubItemAt(0);
    EXPECT_EQ(item.Name().ToUTF8(), name);
    EXPECT_EQ(item.RequiredAttribute("q").ToUTF8(), quoted);
    EXPECT_EQ(item.RequiredAttribute("u").ToUTF8(), unquoted);
    EXPECT_EQ(item.Text().ToUTF8(), text.substr(0, text.find('&')) + "<" + std::string(5000, 'z'));
    // A zero byte still ends the data, even inside a long run.
    const std::string cut = std::string(5000, 'c') + '\0' + "after";
    EXPECT_EQ(RootText("<a>" + cut + "</a>"), std::string(5000, 'c'));
}

// In UTF-16 every other byte of ASCII text is zero, which must not end it.
TEST(KXMLParser, LongTextInUTF16) {
    const std::u16string text = std::u16string(5000, u'x') + u"\u00e9" + std::u16string(5000, u'y');
    const std::u16string markup = u"<a q=\"" + text + u"\">" + text + u"</a>";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : markup) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    auto document = Load(bytes);
    EXPECT_EQ(document->Root().RequiredAttribute("q").ToUTF16(), text);
    EXPECT_EQ(document->Root().Text().ToUTF16(), text);
}

TEST(KXMLParser, VeryDeepNestingNeitherCrashesNorRecurses) {
    constexpr int kDepth = 100000;
    std::string text;
    for (int i = 0; i < kDepth; ++i) text += "<a>";
    auto document = Load(text);
    const KXMLItem* item = &document->Root();
    while (item->SubItemCount() > 0) item = &item->SubItemAt(0);
    EXPECT_EQ(item->Depth(), kDepth - 1);
}

}  // namespace
