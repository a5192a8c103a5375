#include "plugin/core/KParameterLookup.h"

#include <algorithm>

namespace {

bool Before(const KString& a, const KString& b) { return KString::CompareNoCase(a, b) < 0; }

}  // namespace

KParameterLookup::KParameterLookup(const std::vector<KString>& ids, const std::vector<KString>& names)
    : m_ids(Sorted(ids)), m_names(Sorted(names)) {}

std::vector<KParameterLookup::Entry> KParameterLookup::Sorted(const std::vector<KString>& keys) {
    std::vector<Entry> entries;
    entries.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) entries.push_back({keys[i], int(i)});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return Before(a.key, b.key); });
    return entries;
}

// The comparison ends at a zero unit, so a key with one inside ("Depth\0x")
// ranks with the part before it; only the length check keeps it from
// matching that part. Any other key ranks first among the keys equal to it.
std::vector<KParameterLookup::Entry>::const_iterator KParameterLookup::FindFirst(const std::vector<Entry>& entries,
                                                                                  const KString& key) {
    auto entry = std::lower_bound(entries.begin(), entries.end(), key,
                                  [](const Entry& e, const KString& k) { return Before(e.key, k); });
    return entry != entries.end() && entry->key.EqualsNoCase(key) ? entry : entries.end();
}

int KParameterLookup::Find(const KString& key) const {
    if (auto id = FindFirst(m_ids, key); id != m_ids.end()) return id->index;
    auto named = FindFirst(m_names, key);
    if (named == m_names.end()) return -1;
    // Names need not be unique ("Depth" belongs to each oscillator).
    auto next = named + 1;
    return next != m_names.end() && next->key.EqualsNoCase(key) ? -1 : named->index;
}
