#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/xml/KAttributeList.h"
#include "foundation/text/KString.h"

// One element of an XML document: a name, a text, attributes sorted and
// matched case-insensitively, and sub-items in document order. An item owns
// its sub-items.
//
// Storing code typically reads and writes one item per object:
//
//     KXMLItem& item = parent.GetOrCreateSubItem("Controller");
//     item.SetDoubleAttribute("Range", range, 1.0);  // removed when at the default
//     item.SetBoolAttribute("Invert", invert, false);
//     ...
//     range = item.DoubleAttribute("Range", 1.0);     // the default when missing
//     invert = item.BoolAttribute("Invert", false);
//
//     for (KXMLItem::Iterator it(item, "Parameter"); KXMLItem* parameter = it.Next();) { ... }
//
//     if (item.HasAttribute("Name")) name = item.CachedAttribute();
//
// Numbers are decimal text; doubles carry 12 significant digits; on/off
// values are "0" or "1". Reading a number that is not one gives the digits
// that could be read, never an error.
class KXMLItem {
public:
    // Visits the sub-items of one name in document order.
    class Iterator {
    public:
        Iterator() noexcept = default;
        Iterator(const KXMLItem& item, const KString& name) { Start(item, name); }
        void Start(const KXMLItem& item, const KString& name);
        // The next matching sub-item, or null after the last; raises "XML item
        // iterator has not been initialized." before Start.
        KXMLItem* Next();

    private:
        const KXMLItem* m_item = nullptr;
        KString m_name;
        int m_next = 0;
    };

    explicit KXMLItem(KString name = KString()) noexcept : m_name(std::move(name)) {}
    KXMLItem(const KXMLItem&) = delete;
    KXMLItem& operator=(const KXMLItem&) = delete;
    ~KXMLItem();

    // Gives `target` the name, text and attributes of `source` and a copy of
    // every sub-item, replacing what it had.
    static void DeepCopy(KXMLItem& target, const KXMLItem& source);

    const KString& Name() const noexcept { return m_name; }
    void SetName(const KString& name) { m_name = name; }
    const KString& Text() const noexcept { return m_text; }
    void SetText(const KString& text) { m_text = text; }
    // Appends a piece of text, separated by one space from text already there.
    void AppendText(const KString& piece);
    KXMLItem* Parent() const noexcept { return m_parent; }
    // The item appended to the same parent just before this one.
    KXMLItem* PreviousSibling() const noexcept { return m_previous; }
    int Depth() const noexcept { return m_depth; }
    // Drops text, attributes and sub-items; keeps the name.
    void Clear() noexcept;

    // Attributes, in sorted order.
    const KAttributeList& Attributes() const noexcept { return m_attributes; }
    // Replaces every attribute.
    void SetAttributes(KAttributeList attributes) noexcept;
    // Remembers the attribute for CachedAttribute when it exists.
    bool HasAttribute(const KString& name) noexcept;
    // Raises "There is no attribute in the cache. ..." unless the last
    // HasAttribute succeeded.
    const KString& CachedAttribute() const;
    // Raises "Could not find required attribute (<name>)." when missing.
    const KString& RequiredAttribute(const KString& name) const;
    KString Attribute(const KString& name, const KString& defaultValue) const;
    std::int64_t IntegerAttribute(const KString& name, std::int64_t defaultValue) const;
    double DoubleAttribute(const KString& name, double defaultValue) const;
    bool BoolAttribute(const KString& name, bool defaultValue) const;

    void SetAttribute(const KString& name, const KString& value);
    void SetIntegerAttribute(const KString& name, std::int64_t value);
    void SetDoubleAttribute(const KString& name, double value);
    void SetBoolAttribute(const KString& name, bool value);
    // As above, but the attribute is removed when the value equals the
    // default (doubles: when both give the same stored text), so that a
    // loader's default restores it.
    void SetAttribute(const KString& name, const KString& value, const KString& defaultValue);
    void SetIntegerAttribute(const KString& name, std::int64_t value, std::int64_t defaultValue);
    void SetDoubleAttribute(const KString& name, double value, double defaultValue);
    void SetBoolAttribute(const KString& name, bool value, bool defaultValue);
    void RemoveAttribute(const KString& name);

    // Sub-items, in document order.
    int SubItemCount() const noexcept { return int(m_subItems.size()); }
    KXMLItem& SubItemAt(int index) const noexcept { return *m_subItems[std::size_t(index)]; }
    // Remembers the first sub-item of that name for CachedSubItem.
    bool HasSubItem(const KString& name) noexcept;
    // Raises "There is no subitem in the cache. ..." unless the last
    // HasSubItem succeeded.
    KXMLItem& CachedSubItem() const;
    // Raises "Could not find required subitem (<name>)." when missing.
    KXMLItem& RequiredSubItem(const KString& name) const;
    KXMLItem* FindSubItem(const KString& name) const noexcept;
    KXMLItem& GetOrCreateSubItem(const KString& name);
    // Always appends, for repeated items.
    KXMLItem& AddSubItem(const KString& name);
    // Removes and destroys the first sub-item of that name.
    void RemoveSubItem(const KString& name);
    // Removes and destroys that sub-item (nothing when it is not one).
    void RemoveSubItem(const KXMLItem& subItem);
    void RemoveSubItemAt(int index);

    // The bytes as upper-case hexadecimal text, two digits per byte.
    void SetHexadecimalText(const void* bytes, int count);
    // Decodes `count` bytes from the start of the text; raises "Value doesn't
    // have correct format." when the text holds fewer.
    void ReadHexadecimalText(void* bytes, int count) const;

private:
    int IndexOfSubItem(const KString& name) const noexcept;

    KXMLItem* m_parent = nullptr;
    KXMLItem* m_previous = nullptr;
    int m_depth = 0;
    std::vector<std::unique_ptr<KXMLItem>> m_subItems;
    KString m_name;
    KString m_text;
    KAttributeList m_attributes;
    int m_cachedAttribute = -1;
    KXMLItem* m_cachedSubItem = nullptr;
};
