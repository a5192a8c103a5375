#include "presets/library/KPluginPresets.h"

#include "foundation/core/Guard.h"
#include "foundation/platform/DataFolder.h"

KPluginPresets::KPluginPresets(KQuenlorAudioEffectPlugin& plugin, const KString& file)
    : m_plugin(plugin), m_manager(plugin, plugin.ProductName()) {
    if (!file.IsEmpty()) m_manager.SetFilePath(file);
    else m_manager.SetDataFolder(KString::FromUTF16(KPlatform::MakerDataFolder(plugin.MakerName().ToUTF16())));
}

void KPluginPresets::StepPreset(int step) {
    KGuard::Run("KPresetManager::Step", [&] { WithCurrentIndex([&](Manager& manager) { manager.Step(step); }); });
}
