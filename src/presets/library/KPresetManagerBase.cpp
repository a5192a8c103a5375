#include "presets/library/KPresetManagerBase.h"

#include "foundation/core/Guard.h"
#include "foundation/core/KException.h"
#include "foundation/core/Diagnostics.h"
#include "foundation/platform/FileSystem.h"
#include "foundation/streams/KStdFileStream.h"
#include "foundation/text/KFormatter.h"
#include "foundation/text/NumberText.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLItem.h"
#include "presets/library/KPresetRandomizer.h"
#include "presets/library/KPresetTree.h"

namespace {

KString FolderPathOf(const KXMLItem& root, const KXMLItem& preset) {
    KString path;
    for (const KXMLItem* folder = preset.Parent(); folder && folder != &root; folder = folder->Parent()) {
        KString name = folder->Attribute(KPresetTree::kFolderName, KString());
        path = path.IsEmpty() ? name : name.Append(u'/').Append(path);
    }
    return path;
}

void RequireFolderName(const KString& name) {
    if (name.Trimmed().IsEmpty() || name.Find(u'/') >= 0) throw KException("A folder needs a name without \"/\".");
}

void RemoveFromParent(KXMLItem& item) {
    if (KXMLItem* parent = item.Parent()) parent->RemoveSubItem(item);
}

}  // namespace

KPresetManagerBase::KPresetManagerBase(KString stem) : m_stem(std::move(stem)) {}

void KPresetManagerBase::SetDataFolder(const KString& folder) {
    m_dataFolder = folder;
    m_filePath = KString();
}

void KPresetManagerBase::SetFilePath(const KString& path) { m_filePath = path; }

KString KPresetManagerBase::RootName() const { return KString(m_stem).Append("presets"); }

KString KPresetManagerBase::FilePath() {
    if (!m_filePath.IsEmpty()) return m_filePath;
    MergeOlderFile();
    return KPresetFile::PathIn(m_dataFolder, RootName() + ".xml");
}

void KPresetManagerBase::MergeOlderFile() {
    int cut = m_dataFolder.FindLast(u'\\');
    if (cut < 0) cut = m_dataFolder.FindLast(u'/');
    if (cut < 0) return;
    const KString fileName = RootName() + ".xml";
    const KString oldPath = KPresetFile::PathIn(m_dataFolder.Substring(0, cut), fileName);
    if (!KPlatform::FileExists(oldPath.ToUTF16())) return;
    KGuard::Run(KString("Merge ").Append(oldPath).ToUTF8().c_str(), [&] {
        KXMLDocument older;
        if (KPresetFile(oldPath).Read(older) != KPresetFile::ReadResult::Loaded) return;
        KPresetFile(KPresetFile::PathIn(m_dataFolder, fileName)).Update(RootName(), [&](KXMLDocument& document) {
            KPresetTree::Merge(document.Root(), older.Root(), 0);
        });
        if (!KPlatform::DeleteFile(oldPath.ToUTF16()))
            throw KException(KFormatter("Could not delete file \"{0}\".") << oldPath);
    });
}

void KPresetManagerBase::ReadDocument(KXMLDocument& document) {
    const KPresetFile file(FilePath());
    if (file.Read(document) == KPresetFile::ReadResult::Broken)
        throw KException(KFormatter("The presets file \"{0}\" cannot be read.") << file.Path());
}

std::vector<KPresetManagerBase::Entry> KPresetManagerBase::List() {
    KXMLDocument document;
    if (KPresetFile(FilePath()).Read(document) != KPresetFile::ReadResult::Loaded) return {};
    std::vector<Entry> entries;
    for (const KXMLItem* preset : KPresetTree::FlatOrder(document.Root()))
        entries.push_back({FolderPathOf(document.Root(), *preset), preset->Attribute(KPresetTree::kPresetName, KString())});
    return entries;
}

int KPresetManagerBase::Find(const KString& reference) {
    const std::vector<Entry> entries = List();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        const KString full = entry.folder.IsEmpty() ? entry.name : KString(entry.folder).Append(u'/').Append(entry.name);
        if (full.EqualsNoCase(reference)) return int(i);
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name.EqualsNoCase(reference)) return int(i);
    bool isNumber = !reference.IsEmpty();
    for (int i = 0; i < reference.Length(); ++i) isNumber = isNumber && reference[i] >= u'0' && reference[i] <= u'9';
    if (isNumber) {
        const std::int64_t index = KNumberText::ParseInteger(reference, 10);
        if (index < std::int64_t(entries.size())) return int(index);
    }
    throw KException(KFormatter("There is no preset \"{0}\".") << reference);
}

KXMLItem& KPresetManagerBase::PresetAt(KXMLDocument& document, int flatIndex) const {
    const std::vector<KXMLItem*> presets = KPresetTree::FlatOrder(document.Root());
    if (flatIndex < 0 || flatIndex >= int(presets.size())) throw KException("Index out of range.");
    return *presets[std::size_t(flatIndex)];
}

KXMLItem& KPresetManagerBase::RequiredFolder(KXMLDocument& document, const KString& folder) const {
    KXMLItem* found = KPresetTree::FindFolder(document.Root(), folder);
    if (!found) throw KException(KFormatter("There is no preset folder \"{0}\".") << folder);
    return *found;
}

// The settings are decoded completely before the owner sees them, so a
// damaged preset changes nothing.
void KPresetManagerBase::Apply(const KXMLItem& preset) {
    const auto settings = KPresetTree::Settings(preset);
    LoadOwnerSettings(settings->Root());
}

void KPresetManagerBase::Load(int flatIndex) {
    KXMLDocument document;
    ReadDocument(document);
    Apply(PresetAt(document, flatIndex));
    m_currentIndex = flatIndex;
}

void KPresetManagerBase::Step(int step) {
    KXMLDocument document;
    ReadDocument(document);
    const std::vector<KXMLItem*> presets = KPresetTree::FlatOrder(document.Root());
    const int count = int(presets.size());
    if (count == 0) return;
    int index = m_currentIndex + step;
    if (index < 0) index += count * 100;
    if (index < 0) index = 0;
    index %= count;
    Apply(*presets[std::size_t(index)]);
    m_currentIndex = index;
}

void KPresetManagerBase::StoreNew(const KString& name, const KString& folder) {
    if (name.Trimmed().IsEmpty()) throw KException("A preset needs a name.");
    KXMLItem settings(KPresetTree::kPreset);
    StoreOwnerSettings(settings);
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        KXMLItem& target = RequiredFolder(document, folder);
        KXMLItem& preset = target.AddSubItem(KPresetTree::kPreset);
        KXMLItem::DeepCopy(preset, settings);
        preset.SetAttribute(KPresetTree::kPresetName, name);
    });
}

void KPresetManagerBase::Replace(int flatIndex) {
    KXMLItem settings(KPresetTree::kPreset);
    StoreOwnerSettings(settings);
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        KXMLItem& preset = PresetAt(document, flatIndex);
        const KString name = preset.Attribute(KPresetTree::kPresetName, KString());
        KXMLItem::DeepCopy(preset, settings);
        preset.SetAttribute(KPresetTree::kPresetName, name);
    });
}

void KPresetManagerBase::Delete(int flatIndex) {
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) { RemoveFromParent(PresetAt(document, flatIndex)); });
    if (m_currentIndex >= flatIndex) --m_currentIndex;
}

void KPresetManagerBase::Rename(int flatIndex, const KString& name) {
    if (name.Trimmed().IsEmpty()) throw KException("A preset needs a name.");
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        PresetAt(document, flatIndex).SetAttribute(KPresetTree::kPresetName, name);
    });
}

void KPresetManagerBase::RenameFolder(const KString& folder, const KString& name) {
    if (folder.IsEmpty()) throw KException("The top folder cannot be renamed.");
    RequireFolderName(name);
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        RequiredFolder(document, folder).SetAttribute(KPresetTree::kFolderName, name);
    });
}

void KPresetManagerBase::NewFolder(const KString& parent, const KString& name) {
    RequireFolderName(name);
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        RequiredFolder(document, parent).AddSubItem(KPresetTree::kFolder).SetAttribute(KPresetTree::kFolderName, name);
    });
}

void KPresetManagerBase::DeleteFolder(const KString& folder) {
    if (folder.IsEmpty()) throw KException("The top folder cannot be deleted.");
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) { RemoveFromParent(RequiredFolder(document, folder)); });
}

void KPresetManagerBase::ExportFolder(const KString& folder, const KString& file) {
    KXMLDocument document;
    ReadDocument(document);
    KXMLDocument exported;
    KXMLItem::DeepCopy(exported.Root(), RequiredFolder(document, folder));
    KPresetTree::CompressPresets(exported.Root());
    KPresetFile::WriteAtomically(exported, file);
}

void KPresetManagerBase::ImportFolder(const KString& file, const KString& folder) {
    KXMLDocument imported;
    if (KPresetFile(file).Read(imported) != KPresetFile::ReadResult::Loaded)
        throw KException(KFormatter("The preset folder file \"{0}\" cannot be read.") << file);
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        KXMLItem& target = RequiredFolder(document, folder);
        // The content is replaced; a folder keeps its own name.
        const KString name = target.Attribute(KPresetTree::kFolderName, KString());
        const KString itemName = target.Name();
        KXMLItem::DeepCopy(target, imported.Root());
        target.SetName(itemName);
        if (&target != &document.Root()) target.SetAttribute(KPresetTree::kFolderName, name);
    });
}

int KPresetManagerBase::AddExchangedPresets(const KXMLItem& source, int exchangeIndex) {
    int added = 0;
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        added = KPresetTree::Merge(document.Root(), source, exchangeIndex);
    });
    return added;
}

int KPresetManagerBase::MarkForExchange(int exchangeIndex, bool all) {
    int marked = 0;
    KPresetFile(FilePath()).Update(RootName(), [&](KXMLDocument& document) {
        marked = KPresetTree::MarkExchange(document.Root(), exchangeIndex, all);
    });
    return marked;
}

bool KPresetManagerBase::LoadRandomSettings() {
    KXMLDocument document;
    ReadDocument(document);
    auto settings = KPresetRandomizer::Cross(document.Root());
    if (!settings) return false;
    LoadOwnerSettings(settings->Root());
    return true;
}
