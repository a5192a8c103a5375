#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/KException.h"
#include "foundation/KXMLItem.h"

namespace {

std::string MessageOf(auto&& action) {
    try {
        action();
    } catch (const KException& e) {
        return e.Message().ToUTF8();
    }
    return "";
}

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
    EXPECT_EQ(item.Attributes().Count(), 4);
    EXPECT_EQ(item.Attribute("VALUE", "").ToUTF8(), "second");

    item.RemoveAttribute("B");
    EXPECT_EQ(AttributeNames(item), "A,c,Value,");
    item.RemoveAttribute("missing");
    EXPECT_EQ(item.Attributes().Count(), 3);
}

TEST(KXMLItem, AttributeCacheFollowsInsertionsAndRemovals) {
    KXMLItem item("a");
    EXPECT_EQ(MessageOf([&] { item.CachedAttribute(); }),
              "There is no attribute in the cache. Previous call to HasAttribute probably did not succeed.");
    item.SetAttribute("m", "middle");
    ASSERT_TRUE(item.HasAttribute("M"));
    item.SetAttribute("a", "inserted before");
    EXPECT_EQ(item.CachedAttribute().ToUTF8(), "middle");
    item.RemoveAttribute("a");
    EXPECT_EQ(item.CachedAttribute().ToUTF8(), "middle");
    item.RemoveAttribute("m");
    EXPECT_THROW(item.CachedAttribute(), KException);
    item.SetAttribute("z", "1");
    EXPECT_FALSE(item.HasAttribute("y"));
    EXPECT_THROW(item.CachedAttribute(), KException);
}

TEST(KXMLItem, MissingRequiredThingsAreNamed) {
    KXMLItem item("a");
    EXPECT_EQ(MessageOf([&] { item.RequiredAttribute("Gain"); }), "Could not find required attribute (Gain).");
    EXPECT_EQ(MessageOf([&] { item.RequiredSubItem("Shape"); }), "Could not find required subitem (Shape).");
    EXPECT_EQ(MessageOf([&] { item.CachedSubItem(); }),
              "There is no subitem in the cache. Previous call to HasSubItem probably did not succeed.");
    EXPECT_EQ(item.Attribute("Gain", "default").ToUTF8(), "default");
}

TEST(KXMLItem, TypedAttributesUseTheStoredTextForms) {
    KXMLItem item("a");
    item.SetIntegerAttribute("i", -42);
    item.SetDoubleAttribute("third", 1.0 / 3.0);
    item.SetDoubleAttribute("tenth", 0.1);
    item.SetBoolAttribute("on", true);
    EXPECT_EQ(item.RequiredAttribute("i").ToUTF8(), "-42");
    EXPECT_EQ(item.RequiredAttribute("third").ToUTF8(), "0.333333333333");  // 12 significant digits
    EXPECT_EQ(item.RequiredAttribute("tenth").ToUTF8(), "0.1");
    EXPECT_EQ(item.RequiredAttribute("on").ToUTF8(), "1");

    EXPECT_EQ(item.IntegerAttribute("i", 0), -42);
    EXPECT_DOUBLE_EQ(item.DoubleAttribute("tenth", 0), 0.1);
    EXPECT_TRUE(item.BoolAttribute("on", false));
    EXPECT_EQ(item.IntegerAttribute("missing", 7), 7);
    EXPECT_FALSE(item.BoolAttribute("missing", false));

    item.SetAttribute("text", "12ab");
    EXPECT_EQ(item.IntegerAttribute("text", 0), 12);  // the digits that could be read
}

TEST(KXMLItem, AttributesAtTheirDefaultAreRemoved) {
    KXMLItem item("a");
    item.SetIntegerAttribute("Channel", 3, 0);
    item.SetDoubleAttribute("Range", 0.5, 1.0);
    item.SetBoolAttribute("Invert", true, false);
    item.SetAttribute("Name", "x", "");
    EXPECT_EQ(item.Attributes().Count(), 4);

    item.SetIntegerAttribute("Channel", 0, 0);
    // Differs from the default only beyond the 12 stored digits.
    item.SetDoubleAttribute("Range", 1.0 + 1e-14, 1.0);
    item.SetBoolAttribute("Invert", false, false);
    item.SetAttribute("Name", "", "");
    EXPECT_EQ(item.Attributes().Count(), 0);
}

TEST(KXMLItem, SubItemsKeepDocumentOrderAndLinks) {
    KXMLItem root("root");
    KXMLItem& first = root.AddSubItem("Controller");
    KXMLItem& second = root.AddSubItem("Other");
    KXMLItem& third = root.AddSubItem("controller");
    EXPECT_EQ(first.Depth(), 1);
    EXPECT_EQ(second.Parent(), &root);
    EXPECT_EQ(third.PreviousSibling(), &second);
    EXPECT_EQ(first.PreviousSibling(), nullptr);

    EXPECT_EQ(root.FindSubItem("CONTROLLER"), &first);
    EXPECT_EQ(&root.GetOrCreateSubItem("other"), &second);
    KXMLItem& created = root.GetOrCreateSubItem("New");
    EXPECT_EQ(root.SubItemCount(), 4);
    EXPECT_EQ(&root.SubItemAt(3), &created);
    EXPECT_EQ(created.AddSubItem("deeper").Depth(), 2);

    ASSERT_TRUE(root.HasSubItem("other"));
    EXPECT_EQ(&root.CachedSubItem(), &second);
    root.RemoveSubItem("OTHER");
    EXPECT_THROW(root.CachedSubItem(), KException);
    EXPECT_EQ(third.PreviousSibling(), &first);
    root.RemoveSubItem("Controller");  // the first of that name
    EXPECT_EQ(root.FindSubItem("controller"), &third);
    EXPECT_EQ(third.PreviousSibling(), nullptr);
}

TEST(KXMLItem, IteratorVisitsOneNameInOrder) {
    KXMLItem root("root");
    root.AddSubItem("Parameter").SetText("1");
    root.AddSubItem("Shape");
    root.AddSubItem("PARAMETER").SetText("2");

    KXMLItem::Iterator unstarted;
    EXPECT_EQ(MessageOf([&] { unstarted.Next(); }), "XML item iterator has not been initialized.");

    std::string seen;
    for (KXMLItem::Iterator it(root, "parameter"); KXMLItem* item = it.Next();) seen += item->Text().ToUTF8();
    EXPECT_EQ(seen, "12");
}

TEST(KXMLItem, DeepCopyReplacesTheTarget) {
    KXMLItem source("source");
    source.SetText("text");
    source.SetAttribute("k", "v");
    KXMLItem& child = source.AddSubItem("child");
    child.AddSubItem("grandchild").SetAttribute("g", "1");
    source.AddSubItem("second");

    KXMLItem target("old");
    target.AddSubItem("dropped");
    KXMLItem::DeepCopy(target, source);
    EXPECT_EQ(target.Name().ToUTF8(), "source");
    EXPECT_EQ(target.Text().ToUTF8(), "text");
    EXPECT_EQ(target.RequiredAttribute("k").ToUTF8(), "v");
    ASSERT_EQ(target.SubItemCount(), 2);
    EXPECT_EQ(target.SubItemAt(0).Name().ToUTF8(), "child");
    EXPECT_EQ(target.SubItemAt(1).Name().ToUTF8(), "second");
    const KXMLItem& grandchild = target.SubItemAt(0).SubItemAt(0);
    EXPECT_EQ(grandchild.RequiredAttribute("g").ToUTF8(), "1");
    EXPECT_EQ(grandchild.Depth(), 2);
    EXPECT_EQ(target.SubItemAt(1).PreviousSibling(), &target.SubItemAt(0));
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
    unsigned char two[2];
    item.ReadHexadecimalText(two, 2);
    EXPECT_EQ(two[1], 0x02);
    EXPECT_EQ(MessageOf([&] { item.ReadHexadecimalText(back, 3); }), "Invalid character to be converted to a number.");
    item.SetText("01020");
    EXPECT_EQ(MessageOf([&] { item.ReadHexadecimalText(back, 3); }), "Value doesn't have correct format.");
}

}  // namespace
