#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/xml/KXMLItem.h"
#include "support/FailureMessage.h"

namespace {

std::string AttributeNames(const KXMLItem& item) {
    std::string names;
    for (const KAttribute& attribute : item.Attributes()) names += attribute.name.ToUTF8() + ",";
    return names;
}

TEST(KXMLItem, AttributesStaySortedAndUniqueWithoutRegardToCase) {
    KXMLItem item("a");
    item.SetAttribute("b", "1");
    item.SetAttribute("A", "2");
    item.SetAttribute("c", "3");
    EXPECT_EQ(AttributeNames(item), "A,b,c,");
    item.SetAttribute("Value", "first");
    item.SetAttribute("value", "second");
    EXPECT_EQ(AttributeNames(item), "A,b,c,Value,");
    EXPECT_EQ(item.Attribute("VALUE", "").ToUTF8(), "second");
    item.RemoveAttribute("B");
    EXPECT_EQ(AttributeNames(item), "A,c,Value,");
}

TEST(KXMLItem, CachesAndRequiredLookupsReportMisuse) {
    KXMLItem item("a");
    EXPECT_EQ(FailureMessage([&] { item.CachedAttribute(); }),
              "There is no attribute in the cache. Previous call to HasAttribute probably did not succeed.");
    EXPECT_EQ(FailureMessage([&] { item.CachedSubItem(); }),
              "There is no subitem in the cache. Previous call to HasSubItem probably did not succeed.");
    EXPECT_EQ(FailureMessage([&] { item.RequiredAttribute("Gain"); }), "Could not find required attribute (Gain).");
    EXPECT_EQ(FailureMessage([&] { item.RequiredSubItem("Shape"); }), "Could not find required subitem (Shape).");

    // The cached attribute survives insertions and removals of others.
    item.SetAttribute("m", "middle");
    ASSERT_TRUE(item.HasAttribute("M"));
    item.SetAttribute("a", "before");
    item.RemoveAttribute("a");
    EXPECT_EQ(item.CachedAttribute().ToUTF8(), "middle");
    item.RemoveAttribute("m");
    EXPECT_THROW(item.CachedAttribute(), KException);
}

TEST(KXMLItem, TypedAttributesUseTheStoredTextForms) {
    KXMLItem item("a");
    item.SetIntegerAttribute("i", -42);
    item.SetDoubleAttribute("third", 1.0 / 3.0);
    item.SetBoolAttribute("on", true);
    EXPECT_EQ(item.RequiredAttribute("i").ToUTF8(), "-42");
    EXPECT_EQ(item.RequiredAttribute("third").ToUTF8(), "0.333333333333");  // 12 significant digits
    EXPECT_EQ(item.RequiredAttribute("on").ToUTF8(), "1");
    EXPECT_EQ(item.IntegerAttribute("i", 0), -42);
    EXPECT_DOUBLE_EQ(item.DoubleAttribute("third", 0), 0.333333333333);
    EXPECT_TRUE(item.BoolAttribute("on", false));
    EXPECT_EQ(item.IntegerAttribute("missing", 7), 7);
    item.SetAttribute("text", "12ab");
    EXPECT_EQ(item.IntegerAttribute("text", 0), 12);  // the digits that could be read

    // With a default, a value equal to it removes the attribute.
    KXMLItem stored("b");
    stored.SetIntegerAttribute("Channel", 3, 0);
    stored.SetDoubleAttribute("Range", 0.5, 1.0);
    stored.SetBoolAttribute("Invert", true, false);
    EXPECT_EQ(AttributeNames(stored), "Channel,Invert,Range,");
    stored.SetIntegerAttribute("Channel", 0, 0);
    stored.SetDoubleAttribute("Range", 1.0 + 1e-14, 1.0);  // equal in the 12 stored digits
    stored.SetBoolAttribute("Invert", false, false);
    EXPECT_EQ(AttributeNames(stored), "");
}

TEST(KXMLItem, SubItemsKeepDocumentOrderAndLinks) {
    KXMLItem root("root");
    KXMLItem& first = root.AddSubItem("Controller");
    KXMLItem& second = root.AddSubItem("Other");
    KXMLItem& third = root.AddSubItem("controller");
    EXPECT_EQ(second.Parent(), &root);
    EXPECT_EQ(third.PreviousSibling(), &second);
    EXPECT_EQ(root.FindSubItem("CONTROLLER"), &first);
    EXPECT_EQ(&root.GetOrCreateSubItem("other"), &second);
    EXPECT_EQ(root.GetOrCreateSubItem("New").AddSubItem("deeper").Depth(), 2);
    EXPECT_EQ(root.SubItemCount(), 4);

    ASSERT_TRUE(root.HasSubItem("other"));
    EXPECT_EQ(&root.CachedSubItem(), &second);
    root.RemoveSubItem("OTHER");
    EXPECT_THROW(root.CachedSubItem(), KException);
    EXPECT_EQ(third.PreviousSibling(), &first);
    root.RemoveSubItem("Controller");  // the first of that name
    EXPECT_EQ(root.FindSubItem("controller"), &third);
    EXPECT_EQ(third.PreviousSibling(), nullptr);

    KXMLItem::Iterator unstarted;
    EXPECT_EQ(FailureMessage([&] { unstarted.Next(); }), "XML item iterator has not been initialized.");
    root.AddSubItem("Controller");
    int seen = 0;
    for (KXMLItem::Iterator it(root, "CONTROLLER"); it.Next();) ++seen;
    EXPECT_EQ(seen, 2);
}

TEST(KXMLItem, DeepCopyReplacesTheTarget) {
    KXMLItem source("source");
    source.SetText("text");
    source.SetAttribute("k", "v");
    source.AddSubItem("child").AddSubItem("grandchild").SetAttribute("g", "1");
    source.AddSubItem("second");

    KXMLItem target("old");
    target.AddSubItem("dropped");
    KXMLItem::DeepCopy(target, source);
    EXPECT_EQ(target.Name().ToUTF8(), "source");
    EXPECT_EQ(target.Text().ToUTF8(), "text");
    EXPECT_EQ(target.RequiredAttribute("k").ToUTF8(), "v");
    ASSERT_EQ(target.SubItemCount(), 2);
    EXPECT_EQ(target.SubItemAt(1).Name().ToUTF8(), "second");
    EXPECT_EQ(target.SubItemAt(1).PreviousSibling(), &target.SubItemAt(0));
    const KXMLItem& grandchild = target.SubItemAt(0).SubItemAt(0);
    EXPECT_EQ(grandchild.RequiredAttribute("g").ToUTF8(), "1");
    EXPECT_EQ(grandchild.Depth(), 2);
}

TEST(KXMLItem, HexadecimalText) {
    KXMLItem item("Bank");
    const unsigned char bytes[] = {0x00, 0x3F, 0x80, 0xFF};
    item.SetHexadecimalText(bytes, 4);
    EXPECT_EQ(item.Text().ToUTF8(), "003F80FF");
    unsigned char back[4] = {};
    item.ReadHexadecimalText(back, 4);
    EXPECT_EQ(std::memcmp(back, bytes, 4), 0);

    item.SetText("0102GG");  // only the first 2 x count characters are used
    item.ReadHexadecimalText(back, 2);
    EXPECT_EQ(back[1], 0x02);
    EXPECT_EQ(FailureMessage([&] { item.ReadHexadecimalText(back, 3); }),
              "Invalid character to be converted to a number.");
    item.SetText("01020");
    EXPECT_EQ(FailureMessage([&] { item.ReadHexadecimalText(back, 3); }), "Value doesn't have correct format.");
}

}  // namespace
