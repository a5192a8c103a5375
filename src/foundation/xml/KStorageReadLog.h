#pragma once
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/text/KString.h"

class KXMLItem;

// What a load looked at: attributes by item and name (without regard to
// case, as items match them), and items taken over whole. Afterwards it
// names the attributes of a document that no loading code asked for.
class KStorageReadLog {
public:
    void NoteAttribute(const KXMLItem& item, const KString& name);
    void NoteWholeItem(const KXMLItem& item);

    // The attributes under `root` that were not read, in document order,
    // each as the names of the items below the root and its own name:
    // "Shape0/Step/Foo".
    std::vector<std::string> Unread(const KXMLItem& root) const;

private:
    void CollectUnread(const KXMLItem& item, const std::string& path, std::vector<std::string>& unread) const;

    std::set<std::pair<const KXMLItem*, std::string>> m_attributes;
    std::set<const KXMLItem*> m_wholeItems;
};
