#pragma once
#include <vector>

#include "foundation/text/KString.h"
#include "presets/library/KPresetFile.h"

class KXMLDocument;
class KXMLItem;

// The user's library of named presets for one kind of owner, kept in the
// file "<stem>presets.xml" of the maker's data folder. Operations raise
// KException on a bad name or a damaged preset, before anything changed;
// callers on the editor thread run them in the guard.
class KPresetManagerBase {
public:
    struct Entry {
        KString folder;  // "/"-separated folder names, empty for the root
        KString name;
    };

    explicit KPresetManagerBase(KString stem);
    virtual ~KPresetManagerBase() = default;

    // The maker's data folder; older installations kept the file one level
    // higher, and such a file is merged in (and deleted) on the next access.
    void SetDataFolder(const KString& folder);
    // A file of the user's choice instead.
    void SetFilePath(const KString& path);
    KString FilePath();
    KString RootName() const;

    // The last loaded preset's position in the flat order, -1 for none.
    int CurrentIndex() const noexcept { return m_currentIndex; }
    void SetCurrentIndex(int index) noexcept { m_currentIndex = index; }

    // Every preset in flat order (a missing or unreadable file has none).
    std::vector<Entry> List();
    // The flat index of a preset given as "folder/name", a name, or a number.
    int Find(const KString& reference);

    void Load(int flatIndex);
    // Loads the preset `step` places after the current one, wrapping around
    // (step -1: previous, +1: next). Nothing when there are no presets.
    void Step(int step);

    // The owner's current settings as a new preset in a folder.
    void StoreNew(const KString& name, const KString& folder);
    void Replace(int flatIndex);
    void Delete(int flatIndex);
    // A new name for a preset (its settings stay) or for a folder (with
    // everything in it).
    void Rename(int flatIndex, const KString& name);
    void RenameFolder(const KString& folder, const KString& name);
    void NewFolder(const KString& parent, const KString& name);
    void DeleteFolder(const KString& folder);
    // A folder with everything in it, as a ".kpresets" file and back.
    void ExportFolder(const KString& folder, const KString& file);
    void ImportFolder(const KString& file, const KString& folder);

    // The presets an exchange brought, merged by name; answers how many.
    int AddExchangedPresets(const KXMLItem& source, int exchangeIndex);
    int MarkForExchange(int exchangeIndex, bool all);

    // Settings crossed from random presets of the "Randomizer" folders (or
    // the whole library); false when there are none.
    bool LoadRandomSettings();

protected:
    virtual void StoreOwnerSettings(KXMLItem& item) = 0;
    virtual void LoadOwnerSettings(KXMLItem& item) = 0;

private:
    // The presets document; raises when the file exists but cannot be read.
    void ReadDocument(KXMLDocument& document);
    void MergeOlderFile();
    void Apply(const KXMLItem& preset);
    KXMLItem& RequiredFolder(KXMLDocument& document, const KString& folder) const;
    KXMLItem& PresetAt(KXMLDocument& document, int flatIndex) const;

    KString m_stem;
    KString m_dataFolder;
    KString m_filePath;
    int m_currentIndex = -1;
};
