#include <gtest/gtest.h>

#include <string>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLUtf8Text.h"

namespace {

KString Units(const std::u16string& units) { return KString::FromUTF16(units.data(), int(units.size())); }

// A document written as UTF-8 and read back.
std::unique_ptr<KXMLDocument> WrittenAndRead(const KXMLItem& root) {
    KXMLDocument document;
    KXMLItem::DeepCopy(document.Root(), root);
    document.SetEncoding("utf-8");
    KMemoryStream bytes;
    document.Write(bytes, false);
    bytes.Seek(0, KStream::SeekOrigin::Start);
    auto reread = std::make_unique<KXMLDocument>();
    reread->Parse(bytes);
    return reread;
}

TEST(KXMLUtf8Text, LeavesOutWhatUtf8CannotCarryAndKeepsTheRest) {
    // A proper pair stays; a lone high surrogate goes but the quote after it
    // stays; a lone low surrogate, a high one at the end and U+FEFF go.
    EXPECT_TRUE(KXMLUtf8Text::Carried(Units(u"a\xD83D\xDE00z")) == Units(u"a\xD83D\xDE00z"));
    EXPECT_TRUE(KXMLUtf8Text::Carried(Units(u"a\xD800\"b")) == Units(u"a\"b"));
    EXPECT_TRUE(KXMLUtf8Text::Carried(Units(u"\xDC00x\xFEFFy\xDBFF")) == Units(u"xy"));
    // The bytes F4 B4 B4 B4 decode past U+10FFFF into the two low surrogates
    // DC93 DD34 (0x134D34 - 0x10000 = 0x124D34: 0xD800 + 0x493, 0xDC00 + 0x134).
    EXPECT_TRUE(KXMLUtf8Text::Carried(Units(u"n\xDC93\xDD34")) == Units(u"n"));
    EXPECT_TRUE(KXMLUtf8Text::Carried(Units(u"\xD800\xDC00\xDFFF")) == Units(u"\xD800\xDC00"));
}

TEST(KXMLUtf8Text, ACleanTreeWritesAsUtf8AndReadsBackTheSame) {
    KXMLItem root(Units(u"root\xFEFF"));
    root.SetAttribute("name", Units(u"A\xD800"));
    root.SetAttribute(Units(u"\xDC00"), "dropped with its value");
    root.AddSubItem(Units(u"\xD800")).AddSubItem("inside").SetText("dropped too");
    KXMLItem& kept = root.AddSubItem(Units(u"item\xDBFF"));
    kept.SetText(Units(u"text\xD800\xD800"));
    kept.SetAttribute("b", Units(u"\xFEFF" u"value"));

    ASSERT_TRUE(KXMLUtf8Text::Clean(root));
    EXPECT_TRUE(root.Name() == "root");
    ASSERT_EQ(root.Attributes().Count(), 1);
    EXPECT_TRUE(root.Attribute("name", "") == "A");
    ASSERT_EQ(root.SubItemCount(), 1);
    EXPECT_TRUE(root.SubItemAt(0).Name() == "item");
    EXPECT_TRUE(root.SubItemAt(0).Text() == "text");
    EXPECT_TRUE(root.SubItemAt(0).Attribute("b", "") == "value");

    const auto reread = WrittenAndRead(root);
    ASSERT_TRUE(reread->ParsedCompletely());
    EXPECT_TRUE(reread->Root().Attribute("name", "") == "A");
    ASSERT_EQ(reread->Root().SubItemCount(), 1);
    EXPECT_TRUE(reread->Root().SubItemAt(0).Attribute("b", "") == "value");
}

TEST(KXMLUtf8Text, AnElementNameLeftStartingWithAQuestionMarkIsDropped) {
    // "<?x" would read back as a processing instruction, and the document
    // would not read at all; a "?" further in is an ordinary name character.
    KXMLItem root("root");
    root.AddSubItem(Units(u"\xDC00?x")).AddSubItem("inside");
    root.AddSubItem(Units(u"k\xFEFF?"));
    root.SetAttribute(Units(u"\xDC00?a"), "1");

    ASSERT_TRUE(KXMLUtf8Text::Clean(root));
    ASSERT_EQ(root.SubItemCount(), 1);
    EXPECT_TRUE(root.SubItemAt(0).Name() == "k?");
    EXPECT_TRUE(root.Attribute("?a", "") == "1");

    const auto reread = WrittenAndRead(root);
    ASSERT_TRUE(reread->ParsedCompletely());
    ASSERT_EQ(reread->Root().SubItemCount(), 1);
    EXPECT_TRUE(reread->Root().SubItemAt(0).Name() == "k?");
    EXPECT_TRUE(reread->Root().Attribute("?a", "") == "1");
}

TEST(KXMLUtf8Text, ARootNameUtf8CannotCarryIsReported) {
    KXMLItem onlyUnits(Units(u"\xD800\xFEFF"));
    onlyUnits.AddSubItem("child");
    EXPECT_FALSE(KXMLUtf8Text::Clean(onlyUnits));
    KXMLItem instruction(Units(u"\xFEFF?root"));
    EXPECT_FALSE(KXMLUtf8Text::Clean(instruction));
}

}  // namespace
