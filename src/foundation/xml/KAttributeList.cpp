#include "foundation/xml/KAttributeList.h"

#include <algorithm>

namespace {

bool NameBelow(const KAttribute& a, const KAttribute& b) noexcept { return KString::CompareNoCase(a.name, b.name) < 0; }

}  // namespace

// One sort instead of a sorted insertion per attribute keeps elements with
// very many attributes linear-logarithmic. What this system wrote is in
// order already and is only checked.
KAttributeList KAttributeList::FromUnsorted(std::vector<KAttribute> attributes) {
    if (!std::is_sorted(attributes.begin(), attributes.end(), NameBelow))
        std::stable_sort(attributes.begin(), attributes.end(), NameBelow);
    KAttributeList list;
    list.m_attributes.reserve(attributes.size());
    for (KAttribute& attribute : attributes) {
        if (!list.m_attributes.empty() && !NameBelow(list.m_attributes.back(), attribute)) {
            list.m_attributes.back().value = std::move(attribute.value);
        } else {
            list.m_attributes.push_back(std::move(attribute));
        }
    }
    return list;
}

int KAttributeList::LowerBound(const KString& name) const noexcept {
    const auto found = std::lower_bound(
        m_attributes.begin(), m_attributes.end(), name,
        [](const KAttribute& attribute, const KString& key) { return KString::CompareNoCase(attribute.name, key) < 0; });
    return int(found - m_attributes.begin());
}

int KAttributeList::IndexOf(const KString& name) const noexcept {
    const int index = LowerBound(name);
    if (index < Count() && KString::CompareNoCase(m_attributes[std::size_t(index)].name, name) == 0) return index;
    return -1;
}

int KAttributeList::Set(const KString& name, const KString& value, bool* inserted) {
    const int index = LowerBound(name);
    const bool exists = index < Count() && KString::CompareNoCase(m_attributes[std::size_t(index)].name, name) == 0;
    if (exists) {
        m_attributes[std::size_t(index)].value = value;
    } else {
        m_attributes.insert(m_attributes.begin() + index, KAttribute{name, value});
    }
    if (inserted) *inserted = !exists;
    return index;
}

int KAttributeList::Remove(const KString& name) {
    const int index = IndexOf(name);
    if (index >= 0) m_attributes.erase(m_attributes.begin() + index);
    return index;
}
