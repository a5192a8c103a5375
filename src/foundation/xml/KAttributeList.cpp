#include "foundation/xml/KAttributeList.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

bool NameBelow(const KAttribute& a, const KAttribute& b) noexcept { return KString::CompareNoCase(a.name, b.name) < 0; }

// Merges, in place, each run of equal names into its first attribute with
// the last value, for as long as the names ascend. Answers how many merged
// attributes lead the vector and where the first name out of order stands
// (the size when there is none); the attributes between are moved from.
std::pair<std::size_t, std::size_t> MergeWhileAscending(std::vector<KAttribute>& attributes) {
    if (attributes.empty()) return {0, 0};
    std::size_t kept = 0;
    for (std::size_t next = 1; next < attributes.size(); ++next) {
        const int order = KString::CompareNoCase(attributes[kept].name, attributes[next].name);
        if (order > 0) return {kept + 1, next};
        if (order == 0) attributes[kept].value = std::move(attributes[next].value);
        else if (++kept != next) attributes[kept] = std::move(attributes[next]);
    }
    return {kept + 1, attributes.size()};
}

}  // namespace

// One sort instead of a sorted insertion per attribute keeps elements with
// very many attributes linear-logarithmic. What this system wrote is in
// order already: one pass merges it, and the vector becomes the list.
KAttributeList KAttributeList::FromUnsorted(std::vector<KAttribute> attributes) {
    auto [merged, unordered] = MergeWhileAscending(attributes);
    if (unordered < attributes.size()) {
        attributes.erase(attributes.begin() + std::ptrdiff_t(merged), attributes.begin() + std::ptrdiff_t(unordered));
        std::stable_sort(attributes.begin(), attributes.end(), NameBelow);
        merged = MergeWhileAscending(attributes).first;
    }
    attributes.erase(attributes.begin() + std::ptrdiff_t(merged), attributes.end());
    KAttributeList list;
    list.m_attributes = std::move(attributes);
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
