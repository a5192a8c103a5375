#include "foundation/xml/KXMLItem.h"

#include <utility>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/streams/KHexaStream.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/text/NumberText.h"

namespace {

constexpr int kDoubleDigits = 12;

KString DoubleText(double value) { return KNumberText::Double(value, kDoubleDigits); }

KString IntegerText(std::int64_t value) { return KString::Printf("%lld", static_cast<long long>(value)); }

}  // namespace

void KXMLItem::Iterator::Start(const KXMLItem& item, const KString& name) {
    m_item = &item;
    m_name = name;
    m_next = 0;
}

KXMLItem* KXMLItem::Iterator::Next() {
    if (!m_item) throw KException("XML item iterator has not been initialized.");
    while (m_next < m_item->SubItemCount()) {
        KXMLItem& candidate = m_item->SubItemAt(m_next++);
        if (candidate.Name().EqualsNoCase(m_name)) return &candidate;
    }
    return nullptr;
}

KXMLItem::~KXMLItem() { Clear(); }

void KXMLItem::Clear() noexcept {
    // Sub-trees are taken apart level by level rather than recursively, so
    // that even a very deeply nested document cannot exhaust the stack.
    std::vector<std::unique_ptr<KXMLItem>> pending = std::move(m_subItems);
    m_subItems.clear();
    while (!pending.empty()) {
        std::unique_ptr<KXMLItem> item = std::move(pending.back());
        pending.pop_back();
        for (auto& subItem : item->m_subItems) pending.push_back(std::move(subItem));
        item->m_subItems.clear();
    }
    m_text.Clear();
    m_attributes.Clear();
    m_cachedAttribute = -1;
    m_cachedSubItem = nullptr;
}

void KXMLItem::DeepCopy(KXMLItem& target, const KXMLItem& source) {
    if (&target == &source) return;
    target.Clear();
    // Pairs of (copy, original) whose sub-items still have to be copied.
    std::vector<std::pair<KXMLItem*, const KXMLItem*>> pending{{&target, &source}};
    while (!pending.empty()) {
        auto [copy, original] = pending.back();
        pending.pop_back();
        copy->m_name = original->m_name;
        copy->m_text = original->m_text;
        copy->m_attributes = original->m_attributes;
        for (const auto& subItem : original->m_subItems) pending.emplace_back(&copy->AddSubItem(subItem->m_name), subItem.get());
    }
}

void KXMLItem::AppendText(const KString& piece) {
    if (!m_text.IsEmpty()) m_text.Append(u' ');
    m_text.Append(piece);
}

void KXMLItem::SetAttributes(KAttributeList attributes) noexcept {
    m_attributes = std::move(attributes);
    m_cachedAttribute = -1;
}

bool KXMLItem::HasAttribute(const KString& name) noexcept {
    m_cachedAttribute = m_attributes.IndexOf(name);
    return m_cachedAttribute >= 0;
}

const KString& KXMLItem::CachedAttribute() const {
    if (m_cachedAttribute < 0) {
        throw KException("There is no attribute in the cache. Previous call to HasAttribute probably did not succeed.");
    }
    return m_attributes[m_cachedAttribute].value;
}

const KString& KXMLItem::RequiredAttribute(const KString& name) const {
    const int index = m_attributes.IndexOf(name);
    if (index < 0) throw KException(KFormatter("Could not find required attribute ({0}).") << name);
    return m_attributes[index].value;
}

KString KXMLItem::Attribute(const KString& name, const KString& defaultValue) const {
    const int index = m_attributes.IndexOf(name);
    return index < 0 ? defaultValue : m_attributes[index].value;
}

std::int64_t KXMLItem::IntegerAttribute(const KString& name, std::int64_t defaultValue) const {
    const int index = m_attributes.IndexOf(name);
    return index < 0 ? defaultValue : KNumberText::ParseInteger(m_attributes[index].value, 10);
}

double KXMLItem::DoubleAttribute(const KString& name, double defaultValue) const {
    const int index = m_attributes.IndexOf(name);
    return index < 0 ? defaultValue : KNumberText::ParseDouble(m_attributes[index].value);
}

bool KXMLItem::BoolAttribute(const KString& name, bool defaultValue) const {
    return IntegerAttribute(name, defaultValue ? 1 : 0) != 0;
}

void KXMLItem::SetAttribute(const KString& name, const KString& value) {
    bool inserted = false;
    const int index = m_attributes.Set(name, value, &inserted);
    if (inserted && m_cachedAttribute >= index) ++m_cachedAttribute;
}

void KXMLItem::SetIntegerAttribute(const KString& name, std::int64_t value) { SetAttribute(name, IntegerText(value)); }

void KXMLItem::SetDoubleAttribute(const KString& name, double value) { SetAttribute(name, DoubleText(value)); }

void KXMLItem::SetBoolAttribute(const KString& name, bool value) { SetAttribute(name, value ? "1" : "0"); }

void KXMLItem::SetAttribute(const KString& name, const KString& value, const KString& defaultValue) {
    if (value == defaultValue) RemoveAttribute(name);
    else SetAttribute(name, value);
}

void KXMLItem::SetIntegerAttribute(const KString& name, std::int64_t value, std::int64_t defaultValue) {
    if (value == defaultValue) RemoveAttribute(name);
    else SetIntegerAttribute(name, value);
}

void KXMLItem::SetDoubleAttribute(const KString& name, double value, double defaultValue) {
    SetAttribute(name, DoubleText(value), DoubleText(defaultValue));
}

void KXMLItem::SetBoolAttribute(const KString& name, bool value, bool defaultValue) {
    if (value == defaultValue) RemoveAttribute(name);
    else SetBoolAttribute(name, value);
}

void KXMLItem::RemoveAttribute(const KString& name) {
    const int index = m_attributes.Remove(name);
    if (index < 0) return;
    if (m_cachedAttribute == index) m_cachedAttribute = -1;
    else if (m_cachedAttribute > index) --m_cachedAttribute;
}

int KXMLItem::IndexOfSubItem(const KString& name) const noexcept {
    for (int i = 0; i < SubItemCount(); ++i)
        if (m_subItems[std::size_t(i)]->m_name.EqualsNoCase(name)) return i;
    return -1;
}

bool KXMLItem::HasSubItem(const KString& name) noexcept {
    m_cachedSubItem = FindSubItem(name);
    return m_cachedSubItem != nullptr;
}

KXMLItem& KXMLItem::CachedSubItem() const {
    if (!m_cachedSubItem) {
        throw KException("There is no subitem in the cache. Previous call to HasSubItem probably did not succeed.");
    }
    return *m_cachedSubItem;
}

KXMLItem& KXMLItem::RequiredSubItem(const KString& name) const {
    KXMLItem* found = FindSubItem(name);
    if (!found) throw KException(KFormatter("Could not find required subitem ({0}).") << name);
    return *found;
}

KXMLItem* KXMLItem::FindSubItem(const KString& name) const noexcept {
    const int index = IndexOfSubItem(name);
    return index < 0 ? nullptr : m_subItems[std::size_t(index)].get();
}

KXMLItem& KXMLItem::GetOrCreateSubItem(const KString& name) {
    if (KXMLItem* found = FindSubItem(name)) return *found;
    return AddSubItem(name);
}

KXMLItem& KXMLItem::AddSubItem(const KString& name) {
    auto item = std::make_unique<KXMLItem>(name);
    item->m_parent = this;
    item->m_previous = m_subItems.empty() ? nullptr : m_subItems.back().get();
    item->m_depth = m_depth + 1;
    m_subItems.push_back(std::move(item));
    return *m_subItems.back();
}

void KXMLItem::RemoveSubItem(const KString& name) { RemoveSubItemAt(IndexOfSubItem(name)); }

void KXMLItem::RemoveSubItem(const KXMLItem& subItem) {
    for (int i = 0; i < SubItemCount(); ++i)
        if (m_subItems[std::size_t(i)].get() == &subItem) return RemoveSubItemAt(i);
}

void KXMLItem::RemoveSubItemAt(int index) {
    if (index < 0 || index >= SubItemCount()) return;
    const auto position = m_subItems.begin() + index;
    KXMLItem* removed = position->get();
    if (position + 1 != m_subItems.end()) (*(position + 1))->m_previous = removed->m_previous;
    if (m_cachedSubItem == removed) m_cachedSubItem = nullptr;
    m_subItems.erase(position);
}

void KXMLItem::SetHexadecimalText(const void* bytes, int count) {
    KMemoryStream text;
    KHexaStream hexa(&text);
    hexa.Write(bytes, count);
    m_text = KString::FromBytes(reinterpret_cast<const char*>(text.Data()), int(text.Size()));
}

void KXMLItem::ReadHexadecimalText(void* bytes, int count) const {
    const std::string digits = m_text.ToUTF8();
    KMemoryStream text(digits.data(), int(digits.size()));
    KHexaStream hexa(&text);
    if (hexa.Read(bytes, count) < count) throw KException("Value doesn't have correct format.");
}
