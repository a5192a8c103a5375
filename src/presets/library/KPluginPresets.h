#pragma once
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "plugin/presets/KPresetNavigator.h"
#include "presets/library/KPresetManagerT.h"

// The plug-in's own preset library ("<product>presets.xml" in the maker's
// data folder, or a file of the user's choice), kept in step with the
// plug-in's current preset index, which travels in its state.
class KPluginPresets final : public KPresetNavigator {
public:
    using Manager = KPresetManagerT<KAudioEffectPluginToAudioPluginAdapter>;

    // Empty `file`: the user's own library.
    KPluginPresets(KQuenlorAudioEffectPlugin& plugin, const KString& file = KString());

    Manager& Library() noexcept { return m_manager; }
    // Runs a library operation from the plug-in's current preset index and
    // records where it ended.
    template <class Operation>
    void WithCurrentIndex(Operation&& operation) {
        m_manager.SetCurrentIndex(m_plugin.CurrentPresetIndex());
        operation(m_manager);
        m_plugin.SetCurrentPresetIndex(m_manager.CurrentIndex());
    }

    // On a thread of the plug-in (never the audio thread); failures end in
    // the guard and change nothing.
    void StepPreset(int step) override;

private:
    KQuenlorAudioEffectPlugin& m_plugin;
    Manager m_manager;
};
