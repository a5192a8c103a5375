#include "hosts/common/KPluginCreation.h"

#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "hosts/common/KGlobalSettings.h"

std::unique_ptr<KQuenlorAudioEffectPlugin> KCreatePluginObject() {
    auto plugin = std::make_unique<KQuenlorAudioEffectPlugin>();
    plugin->SetSurroundLayout(KGlobalSettings::Integer("Surround", 0) != 0);
    plugin->Initialize("Halvane", "Quenlor", &HalvaneAudioEffectPluginInterface);
    return plugin;
}
