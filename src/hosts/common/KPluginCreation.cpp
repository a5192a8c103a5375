#include "hosts/common/KPluginCreation.h"

#include "effect/HalvaneAudioEffectPluginInterface.h"

std::unique_ptr<KQuenlorAudioEffectPlugin> KCreatePluginObject() {
    auto plugin = std::make_unique<KQuenlorAudioEffectPlugin>();
    plugin->Initialize("Halvane", "Quenlor", &HalvaneAudioEffectPluginInterface);
    return plugin;
}
