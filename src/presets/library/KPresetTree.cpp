#include "presets/library/KPresetTree.h"

#include "foundation/core/KException.h"
#include "foundation/streams/KHexaStream.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/streams/KZLibStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLItem.h"

namespace KPresetTree {

namespace {

bool IsNamed(const KXMLItem& item, const KString& kind) { return item.Name().EqualsNoCase(kind); }

void CollectFlat(const KXMLItem& item, std::vector<KXMLItem*>& presets) {
    for (int i = 0; i < item.SubItemCount(); ++i)
        if (IsNamed(item.SubItemAt(i), kPreset)) presets.push_back(&item.SubItemAt(i));
    for (int i = 0; i < item.SubItemCount(); ++i)
        if (IsNamed(item.SubItemAt(i), kFolder)) CollectFlat(item.SubItemAt(i), presets);
}

KXMLItem* FindNamed(const KXMLItem& parent, const KString& kind, const KString& nameAttribute, const KString& name) {
    for (int i = 0; i < parent.SubItemCount(); ++i) {
        KXMLItem& item = parent.SubItemAt(i);
        if (IsNamed(item, kind) && item.Attribute(nameAttribute, KString()).EqualsNoCase(name)) return &item;
    }
    return nullptr;
}

template <class Visit>
void ForEachPreset(KXMLItem& item, Visit&& visit) {
    for (int i = 0; i < item.SubItemCount(); ++i) {
        KXMLItem& sub = item.SubItemAt(i);
        if (IsNamed(sub, kPreset)) visit(sub);
        else ForEachPreset(sub, visit);
    }
}

}  // namespace

std::vector<KXMLItem*> FlatOrder(const KXMLItem& item) {
    std::vector<KXMLItem*> presets;
    CollectFlat(item, presets);
    return presets;
}

KXMLItem* FindFolder(KXMLItem& root, const KString& path) {
    KXMLItem* folder = &root;
    int start = 0;
    while (folder && start < path.Length()) {
        int end = path.Find(u'/', start);
        if (end < 0) end = path.Length();
        if (end > start) folder = FindNamed(*folder, kFolder, kFolderName, path.Substring(start, end - start));
        start = end + 1;
    }
    return folder;
}

KXMLItem* FindPreset(const KXMLItem& folder, const KString& name) { return FindNamed(folder, kPreset, kPresetName, name); }

void Compress(KXMLItem& preset) {
    const KString name = preset.Attribute(kPresetName, KString());
    // The exchange's mark stays outside, where the exchange looks for it.
    const KString exchangeIndex = preset.Attribute(kExchangeIndex, KString());
    KXMLDocument document;
    KXMLItem::DeepCopy(document.Root(), preset);
    KMemoryStream packed;
    document.WriteCompressed(packed);
    preset.Clear();
    preset.SetAttribute(kPresetName, name);
    preset.SetAttribute(kCompressed, "1");
    if (!exchangeIndex.IsEmpty()) preset.SetAttribute(kExchangeIndex, exchangeIndex);
    preset.SetHexadecimalText(packed.Data(), int(packed.Size()));
}

int CompressPresets(KXMLItem& root) {
    int converted = 0;
    ForEachPreset(root, [&](KXMLItem& preset) {
        if (!preset.HasAttribute(kPresetName) || preset.HasAttribute(kCompressed)) return;
        Compress(preset);
        ++converted;
    });
    return converted;
}

std::unique_ptr<KXMLDocument> Settings(const KXMLItem& preset) {
    auto document = std::make_unique<KXMLDocument>();
    if (preset.Attribute(kCompressed, KString()).IsEmpty()) {
        KXMLItem::DeepCopy(document->Root(), preset);
        return document;
    }
    return FromHexadecimal(preset.Text());
}

// Plain XML behind the digits is accepted too; when neither reading works,
// the compressed one tells what is wrong (a bad digit, damaged zlib data),
// not the plain one, which only finds that binary bytes are no XML.
std::unique_ptr<KXMLDocument> FromHexadecimal(const KString& text) {
    const std::string digits = text.ToUTF8();
    KMemoryStream hexadecimal(digits.data(), int(digits.size()));
    KHexaStream bytes(&hexadecimal);
    auto document = std::make_unique<KXMLDocument>();
    try {
        KZLibStream decompressed(&bytes, false);
        document->Parse(decompressed);
        return document;
    } catch (const KException& compressed) {
        try {
            hexadecimal.Seek(0, KStream::SeekOrigin::Start);
            document = std::make_unique<KXMLDocument>();
            document->Parse(bytes);
        } catch (const KException&) {
            throw compressed;
        }
    }
    return document;
}

int Merge(KXMLItem& target, const KXMLItem& source, int exchangeIndex) {
    int added = 0;
    std::vector<KString> known;
    for (int i = 0; i < target.SubItemCount(); ++i)
        if (IsNamed(target.SubItemAt(i), kPreset)) known.push_back(target.SubItemAt(i).Attribute(kPresetName, KString()));
    auto isKnown = [&](const KString& name) {
        for (const KString& k : known)
            if (k.EqualsNoCase(name)) return true;
        return false;
    };
    for (int i = 0; i < source.SubItemCount(); ++i) {
        const KXMLItem& item = source.SubItemAt(i);
        if (IsNamed(item, kPreset)) {
            const KString name = item.Attribute(kPresetName, KString());
            if (isKnown(name)) continue;
            KXMLItem& copy = target.AddSubItem(item.Name());
            KXMLItem::DeepCopy(copy, item);
            copy.SetIntegerAttribute(kExchangeIndex, exchangeIndex);
            known.push_back(name);
            ++added;
        } else if (IsNamed(item, kFolder)) {
            const KString name = item.Attribute(kFolderName, KString());
            KXMLItem* folder = FindNamed(target, kFolder, kFolderName, name);
            if (!folder) {
                folder = &target.AddSubItem(item.Name());
                folder->SetAttribute(kFolderName, name);
            }
            added += Merge(*folder, item, exchangeIndex);
        }
    }
    return added;
}

int MarkExchange(KXMLItem& root, int exchangeIndex, bool all) {
    int marked = 0;
    for (KXMLItem* preset : FlatOrder(root)) {
        if (!all && preset->HasAttribute(kExchangeIndex)) continue;
        preset->SetIntegerAttribute(kExchangeIndex, exchangeIndex);
        ++marked;
    }
    return marked;
}

}  // namespace KPresetTree
