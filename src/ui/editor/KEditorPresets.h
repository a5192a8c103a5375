#pragma once
#include <vector>

#include "presets/library/KPluginPresets.h"
#include "ui/editor/KEditorModel.h"

// The preset browser's side of the library: the list (read again only
// after an operation, never on every repaint), loading, stepping, saving.
// A preset holds the plug-in's settings (not its host-side set-up nor its
// active-preset slots), and the current preset is the plug-in's own, which
// the MIDI preset trigger also moves and the state keeps. Failures are
// kept as a message for the editor to show.
class KEditorPresets {
public:
    explicit KEditorPresets(const KEditorModel& model);

    const std::vector<KString>& Lines() const noexcept { return m_lines; }
    int Current() const noexcept;
    KString CurrentName() const;
    const KString& Message() const noexcept { return m_message; }

    void Load(int line);
    void Step(int step);
    // Replaces the current preset, or adds one named "Preset N" when none is.
    void Save();
    void SaveAs(const KString& name);
    void Reload();

private:
    using Manager = KPluginPresets::Manager;
    template <class Operation>
    void Run(Operation&& operation);

    const KEditorModel& m_model;
    KPluginPresets m_presets;
    std::vector<KPresetManagerBase::Entry> m_entries;
    std::vector<KString> m_lines;
    KString m_message;
};
