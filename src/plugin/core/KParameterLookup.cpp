#include "plugin/core/KParameterLookup.h"

#include <algorithm>
#include <utility>

KParameterLookup::KParameterLookup(int count, KeyOf idOf, KeyOf nameOf)
    : m_idOf(std::move(idOf)), m_nameOf(std::move(nameOf)), m_ids(Hashed(count, m_idOf)),
      m_names(Hashed(count, m_nameOf)) {}

std::vector<KParameterLookup::Entry> KParameterLookup::Hashed(int count, const KeyOf& keyOf) {
    std::vector<Entry> entries;
    entries.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) entries.push_back({keyOf(i).HashNoCase(), i});
    std::sort(entries.begin(), entries.end());
    return entries;
}

template <class Visit>
void KParameterLookup::ForEachCandidate(const std::vector<Entry>& entries, std::uint64_t hash, Visit&& visit) {
    auto entry = std::lower_bound(entries.begin(), entries.end(), Entry{hash, 0});
    for (; entry != entries.end() && entry->hash == hash; ++entry)
        if (!visit(entry->index)) return;
}

int KParameterLookup::Find(const KString& key) const {
    const std::uint64_t hash = key.HashNoCase();
    int found = -1;
    ForEachCandidate(m_ids, hash, [&](int index) {
        if (m_idOf(index).EqualsNoCase(key)) found = index;
        return found < 0;
    });
    if (found >= 0) return found;
    // Names need not be unique ("Depth" belongs to each oscillator).
    bool shared = false;
    ForEachCandidate(m_names, hash, [&](int index) {
        if (!m_nameOf(index).EqualsNoCase(key)) return true;
        shared = found >= 0;
        found = index;
        return !shared;
    });
    return shared ? -1 : found;
}
