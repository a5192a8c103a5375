#include <gtest/gtest.h>

#include <string>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "support/FailureMessage.h"

namespace {

std::string Written(const KXMLDocument& document, bool compact) {
    KMemoryStream stream;
    document.Write(stream, compact);
    return std::string(reinterpret_cast<const char*>(stream.Data()), std::size_t(stream.Size()));
}

void FillSample(KXMLDocument& document) {
    KXMLItem& root = document.Root();
    root.SetAttribute("b", "2");
    root.SetAttribute("A", "1");
    root.AddSubItem("A").SetAttribute("b", "x&y\n");
    KXMLItem& b = root.AddSubItem("B");
    b.SetText("hello <world>");
    b.AddSubItem("C");
}

TEST(KXMLWriter, IndentedLayout) {
    KXMLDocument document("settings");
    FillSample(document);
    EXPECT_EQ(Written(document, false),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<settings A=\"1\" b=\"2\">\n"
              "\t<A b=\"x&amp;y&#10;\"/>\n"
              "\t<B>\n"
              "\t\thello &lt;world&gt;\n"
              "\t\t<C/>\n"
              "\t</B>\n"
              "</settings>\n");
}

TEST(KXMLWriter, CompactLayoutBreaksLinesOnlyAtTheTop) {
    KXMLDocument document("settings");
    FillSample(document);
    EXPECT_EQ(Written(document, true),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<settings A=\"1\" b=\"2\"><A b=\"x&amp;y&#10;\"/>\n"
              "<B>hello &lt;world&gt;<C/></B>\n"
              "</settings>\n");
}

TEST(KXMLWriter, LongTextIsWrappedAtTheFirstSpaceAfterSixtyCharacters) {
    KXMLDocument document("a");
    // Spaces at 10 and 66: only the second is 60 or more characters into the line.
    const std::string first = std::string(10, 'a') + " " + std::string(55, 'b');
    document.Root().SetText(KString::FromUTF8(first + " c"));
    EXPECT_NE(Written(document, false).find("<a>\n\t" + first + "\n\tc\n</a>\n"), std::string::npos);

    const std::string unbroken(130, 'q');
    document.Root().SetText(KString::FromUTF8(unbroken));
    EXPECT_NE(Written(document, false).find("<a>\n\t" + unbroken + "\n</a>\n"), std::string::npos);
}

TEST(KXMLWriter, IndentationStopsAtThirtyTwoTabs) {
    KXMLDocument document("level0");
    KXMLItem* item = &document.Root();
    for (int depth = 1; depth <= 40; ++depth) item = &item->AddSubItem(KString::Printf("level%d", depth));
    const std::string text = Written(document, false);
    EXPECT_NE(text.find("\n" + std::string(31, '\t') + "<level31>"), std::string::npos);
    EXPECT_NE(text.find("\n" + std::string(32, '\t') + "<level32>"), std::string::npos);
    EXPECT_NE(text.find("\n" + std::string(32, '\t') + "<level40/>"), std::string::npos);
    EXPECT_EQ(text.find(std::string(33, '\t')), std::string::npos);
}

TEST(KXMLWriter, CodecHeaderAndDeclarationFollowTheEncoding) {
    KXMLDocument document("a");
    document.SetEncoding("utf-16");
    const std::string text = Written(document, true);
    const std::string expected("\xFF\xFE<\0?\0x\0m\0l\0", 12);
    EXPECT_EQ(text.substr(0, expected.size()), expected);

    document.SetEncoding("klingon");
    EXPECT_EQ(FailureMessage([&] { Written(document, true); }), "No codec found for encoding klingon.");
}

}  // namespace
