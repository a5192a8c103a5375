#include "ui/editor/KEditorPresets.h"

#include "foundation/core/KException.h"
#include "foundation/platform/DataFolder.h"
#include "foundation/text/KFormatter.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

namespace {
// The library file: "Halvanepresets.xml" in the maker's data folder.
constexpr const char* kStem = "Halvane";
}  // namespace

KEditorPresets::KEditorPresets(const KEditorModel& model)
    : m_model(model), m_manager(*this, KString::FromUTF8(kStem)) {
    m_manager.SetDataFolder(KString::FromUTF16(KPlatform::MakerDataFolder(u"Quenlor")));
    Reload();
}

template <class Operation>
void KEditorPresets::Run(Operation&& operation) {
    try {
        operation();
        m_message = KString();
    } catch (const KException& error) {
        m_message = error.Message();
    }
    Reload();
}

void KEditorPresets::Reload() {
    try {
        m_entries = m_manager.List();
    } catch (const KException& error) {
        m_entries.clear();
        m_message = error.Message();
    }
    m_lines.clear();
    for (const auto& entry : m_entries)
        m_lines.push_back(entry.folder.IsEmpty() ? entry.name
                                                 : KString(KFormatter("{0} / {1}") << entry.folder << entry.name));
}

KString KEditorPresets::CurrentName() const {
    const int current = Current();
    if (current < 0 || current >= int(m_lines.size())) return KString::FromUTF8("(no preset)");
    return m_lines[std::size_t(current)];
}

void KEditorPresets::Load(int line) {
    Run([&] { m_manager.Load(line); });
}

void KEditorPresets::Step(int step) {
    Run([&] { m_manager.Step(step); });
}

void KEditorPresets::Save() {
    const int current = Current();
    if (current >= 0 && current < int(m_entries.size())) {
        Run([&] { m_manager.Replace(current); });
        return;
    }
    SaveAs(KFormatter("Preset {0}") << int(m_entries.size()) + 1);
}

void KEditorPresets::SaveAs(const KString& name) {
    const int current = Current();
    const KString folder = current >= 0 && current < int(m_entries.size()) ? m_entries[std::size_t(current)].folder
                                                                          : KString();
    Run([&] {
        m_manager.StoreNew(name, folder);
        m_entries = m_manager.List();
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (m_entries[i].name == name && m_entries[i].folder == folder) m_manager.SetCurrentIndex(int(i));
    });
}

void KEditorPresets::StoreSettings(KStorageContext& context) { m_model.Plugin().Store(context); }
