#include "effect/HalvaneAudioEffectPluginInterface.h"

#include "effect/HalvaneAudioEffectPlugin.h"
#include "foundation/core/Guard.h"

std::intptr_t HalvaneAudioEffectPluginInterface(void* handle, std::int32_t opcode, std::int64_t* parameters) {
    return KGuard::Run("HalvaneAudioEffectPluginInterface", std::intptr_t(0), [&]() -> std::intptr_t {
        KPlugin* effect = handle ? static_cast<KPlugin*>(handle) : new HalvaneAudioEffectPlugin;
        if (opcode == KPluginOpcode::Create) return reinterpret_cast<std::intptr_t>(static_cast<void*>(effect));
        return static_cast<std::intptr_t>(effect->Dispatch(opcode, parameters));
    });
}
