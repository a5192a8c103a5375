#pragma once
#include <vector>

#include "foundation/text/KString.h"

// A markup attribute: a name and its text value.
struct KAttribute {
    KString name;
    KString value;
};

// Attributes kept sorted by name under the case-insensitive comparison, so
// that lookups are binary searches and each name occurs at most once.
class KAttributeList {
public:
    KAttributeList() = default;
    // Sorts attributes given in any order, as if each were Set in turn: of
    // names that match, the first spelling stays with the last value.
    static KAttributeList FromUnsorted(std::vector<KAttribute> attributes);

    int Count() const noexcept { return int(m_attributes.size()); }
    bool IsEmpty() const noexcept { return m_attributes.empty(); }
    const KAttribute& operator[](int index) const noexcept { return m_attributes[std::size_t(index)]; }
    auto begin() const noexcept { return m_attributes.begin(); }
    auto end() const noexcept { return m_attributes.end(); }

    // Index of the attribute, or -1.
    int IndexOf(const KString& name) const noexcept;
    // Replaces the value of an existing attribute or inserts a new one at its
    // sorted place; answers its index, and in `inserted` which case it was.
    int Set(const KString& name, const KString& value, bool* inserted = nullptr);
    // Answers the index the attribute had, or -1 when there was none.
    int Remove(const KString& name);
    void Clear() noexcept { m_attributes.clear(); }

private:
    // First index whose name is not below `name`.
    int LowerBound(const KString& name) const noexcept;

    std::vector<KAttribute> m_attributes;
};
