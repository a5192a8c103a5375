#include "foundation/xml/KStorageReadLog.h"

#include <cctype>

#include "foundation/xml/KXMLItem.h"

namespace {

// Stored names are ASCII; folding that is enough to match them as items do.
std::string Folded(const KString& name) {
    std::string text = name.ToUTF8();
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

void KStorageReadLog::NoteAttribute(const KXMLItem& item, const KString& name) {
    m_attributes.emplace(&item, Folded(name));
}

void KStorageReadLog::NoteWholeItem(const KXMLItem& item) { m_wholeItems.insert(&item); }

std::vector<std::string> KStorageReadLog::Unread(const KXMLItem& root) const {
    std::vector<std::string> unread;
    CollectUnread(root, std::string(), unread);
    return unread;
}

void KStorageReadLog::CollectUnread(const KXMLItem& item, const std::string& path,
                                    std::vector<std::string>& unread) const {
    if (m_wholeItems.count(&item)) return;
    const KAttributeList& attributes = item.Attributes();
    for (int i = 0; i < attributes.Count(); ++i)
        if (!m_attributes.count({&item, Folded(attributes[i].name)}))
            unread.push_back(path + attributes[i].name.ToUTF8());
    for (int i = 0; i < item.SubItemCount(); ++i) {
        const KXMLItem& sub = item.SubItemAt(i);
        CollectUnread(sub, path + sub.Name().ToUTF8() + "/", unread);
    }
}
