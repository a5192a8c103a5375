#pragma once
#include <memory>
#include <vector>

#include "foundation/text/KString.h"

class KAudioEffectPluginToAudioPluginAdapter;
class KXMLDocument;

// The read-only list of active presets kept beside the preset library
// ("<product>presets.active" in the maker's data folder, plain XML): the
// root's "NamePrefix" goes before every entry's name, and each "preset"
// item, named by its "Name", holds settings in its text, either as the
// hexadecimal text of a compressed document (as the library keeps them)
// or as plain XML text.
class KActivePresetList {
public:
    struct Entry {
        KString name;      // NamePrefix followed by the item's "Name"
        KString settings;  // the item's text
    };

    static KString FileName(const KString& productName);

    // Replaces the entries with the file's. A missing or unreadable file
    // gives an empty list: the list is an extra, never a reason to fail.
    void Load(const KString& path);
    const std::vector<Entry>& Entries() const noexcept { return m_entries; }

    // Applies entry `index` to the plug-in through StoreSettings: the
    // selection becomes `index`, not edited, and the host hears that
    // parameters changed. False, with nothing changed, for an index
    // outside the list; raises the stream and XML messages for a damaged
    // entry, before anything changed.
    bool LoadActivePreset(KAudioEffectPluginToAudioPluginAdapter& plugin, int index) const;

    // The settings document an entry's text holds.
    static std::unique_ptr<KXMLDocument> Decode(const KString& settings);

private:
    std::vector<Entry> m_entries;
};
