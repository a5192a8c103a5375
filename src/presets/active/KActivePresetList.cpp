#include "presets/active/KActivePresetList.h"

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KStorageContext.h"
#include "foundation/xml/KXMLDocument.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "presets/library/KPresetFile.h"
#include "presets/library/KPresetTree.h"

namespace {

const KString kEntry("preset");
const KString kEntryName("Name");
const KString kNamePrefix("NamePrefix");

}  // namespace

KString KActivePresetList::FileName(const KString& productName) { return KString(productName).Append("presets.active"); }

void KActivePresetList::Load(const KString& path) {
    m_entries.clear();
    KXMLDocument document;
    if (KPresetFile(path).Read(document) != KPresetFile::ReadResult::Loaded) return;
    const KXMLItem& root = document.Root();
    const KString prefix = root.Attribute(kNamePrefix, KString());
    KXMLItem::Iterator entries(root, kEntry);
    while (const KXMLItem* entry = entries.Next())
        m_entries.push_back({KString(prefix).Append(entry->Attribute(kEntryName, KString())), entry->Text()});
}

bool KActivePresetList::LoadActivePreset(KAudioEffectPluginToAudioPluginAdapter& plugin, int index) const {
    if (index < 0 || index >= int(m_entries.size())) return false;
    const std::unique_ptr<KXMLDocument> settings = Decode(m_entries[std::size_t(index)].settings);
    KStorageContext load(settings->Root(), false);
    plugin.StoreSettings(load);
    plugin.SetActivePresetSelection(index, false);
    plugin.OnPresetLoaded();
    return true;
}

// Plain XML starts with its first tag; anything else is read as
// hexadecimal digits of a compressed (or, from older lists, plain) document.
std::unique_ptr<KXMLDocument> KActivePresetList::Decode(const KString& settings) {
    auto document = std::make_unique<KXMLDocument>();
    const std::string text = settings.Trimmed().ToUTF8();
    KMemoryStream bytes(text.data(), int(text.size()));
    if (!text.empty() && text[0] == '<') {
        document->Parse(bytes);
        return document;
    }
    return KPresetTree::FromHexadecimal(settings.Trimmed());
}
