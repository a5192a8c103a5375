#include "ui/editor/KEditorPresets.h"

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"

KEditorPresets::KEditorPresets(const KEditorModel& model) : m_model(model), m_presets(model.Plugin()) { Reload(); }

int KEditorPresets::Current() const noexcept { return m_model.Plugin().CurrentPresetIndex(); }

// Every operation starts from the plug-in's current preset and leaves its
// own there.
template <class Operation>
void KEditorPresets::Run(Operation&& operation) {
    try {
        m_presets.WithCurrentIndex(operation);
        m_message = KString();
    } catch (const KException& error) {
        m_message = error.Message();
    }
    Reload();
}

void KEditorPresets::Reload() {
    try {
        m_entries = m_presets.Library().List();
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
    Run([&](Manager& library) { library.Load(line); });
}

void KEditorPresets::Step(int step) {
    Run([&](Manager& library) { library.Step(step); });
}

void KEditorPresets::Save() {
    const int current = Current();
    if (current >= 0 && current < int(m_entries.size())) {
        Run([&](Manager& library) { library.Replace(current); });
        return;
    }
    SaveAs(KFormatter("Preset {0}") << int(m_entries.size()) + 1);
}

void KEditorPresets::SaveAs(const KString& name) {
    const int current = Current();
    const KString folder = current >= 0 && current < int(m_entries.size()) ? m_entries[std::size_t(current)].folder
                                                                          : KString();
    Run([&](Manager& library) {
        library.StoreNew(name, folder);
        m_entries = library.List();
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (m_entries[i].name == name && m_entries[i].folder == folder) library.SetCurrentIndex(int(i));
    });
}
