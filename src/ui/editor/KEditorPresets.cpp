#include "ui/editor/KEditorPresets.h"

#include "foundation/core/KException.h"
#include "foundation/platform/DataFolder.h"
#include "foundation/text/KFormatter.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"

// The library file: "<product>presets.xml" in the maker's data folder.
KEditorPresets::KEditorPresets(const KEditorModel& model)
    : m_model(model), m_manager(model.Plugin(), model.Plugin().ProductName()) {
    m_manager.SetDataFolder(KString::FromUTF16(KPlatform::MakerDataFolder(model.Plugin().MakerName().ToUTF16())));
    Reload();
}

int KEditorPresets::Current() const noexcept { return m_model.Plugin().CurrentPresetIndex(); }

// Every operation starts from the plug-in's current preset and leaves its
// own there.
template <class Operation>
void KEditorPresets::Run(Operation&& operation) {
    KQuenlorAudioEffectPlugin& plugin = m_model.Plugin();
    m_manager.SetCurrentIndex(plugin.CurrentPresetIndex());
    try {
        operation();
        m_message = KString();
    } catch (const KException& error) {
        m_message = error.Message();
    }
    plugin.SetCurrentPresetIndex(m_manager.CurrentIndex());
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
