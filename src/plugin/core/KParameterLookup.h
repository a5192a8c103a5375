#pragma once
#include <vector>

#include "foundation/text/KString.h"

// Host indices by identifier and by name, compared without regard to case.
// Loading a state looks up every multiparameter and controller assignment by
// its stored key, and opening the editor every control; with some 800
// parameters, formatting each identifier per look-up made a busy state take
// milliseconds to load. Built once from the whole list, this answers with
// binary searches.
class KParameterLookup {
public:
    // `ids[i]` and `names[i]` belong to host index i.
    KParameterLookup(const std::vector<KString>& ids, const std::vector<KString>& names);

    // The lowest index whose identifier is `key`, else the one index named
    // `key`; -1 when there is none or the name is shared.
    int Find(const KString& key) const;

private:
    struct Entry {
        KString key;
        int index;
    };
    // Sorted by key, equal keys in index order.
    static std::vector<Entry> Sorted(const std::vector<KString>& keys);
    // The first entry whose key is `key`, or the end.
    static std::vector<Entry>::const_iterator FindFirst(const std::vector<Entry>& entries, const KString& key);

    std::vector<Entry> m_ids;
    std::vector<Entry> m_names;
};
