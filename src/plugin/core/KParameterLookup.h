#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "foundation/text/KString.h"

// Host indices by identifier and by name, compared without regard to case.
// Loading a state looks up every multiparameter and controller assignment by
// its stored key, and opening the editor every control; with some 800
// parameters, formatting each identifier per look-up made a busy state take
// milliseconds to load. Built once from the whole list, this keeps only a
// hash per key (the texts themselves would add a fifth to an instance's
// heap) and confirms a hash match by formatting that one parameter's key.
class KParameterLookup {
public:
    // The identifier or the name of host index i.
    using KeyOf = std::function<KString(int index)>;

    KParameterLookup(int count, KeyOf idOf, KeyOf nameOf);

    // The lowest index whose identifier is `key`, else the one index named
    // `key`; -1 when there is none or the name is shared.
    int Find(const KString& key) const;

private:
    struct Entry {
        std::uint64_t hash;
        int index;
        friend bool operator<(const Entry& a, const Entry& b) {
            return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
        }
    };
    // Sorted by hash, then by index.
    static std::vector<Entry> Hashed(int count, const KeyOf& keyOf);
    // Calls `visit(index)` for the entries with this hash, lowest index
    // first, until it answers false.
    template <class Visit>
    static void ForEachCandidate(const std::vector<Entry>& entries, std::uint64_t hash, Visit&& visit);

    KeyOf m_idOf;
    KeyOf m_nameOf;
    std::vector<Entry> m_ids;
    std::vector<Entry> m_names;
};
