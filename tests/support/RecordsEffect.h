#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "plugin/core/KAudioEffectPlugin.h"
#include "plugin/core/KPluginEntry.h"

// The base of the small effects the plug-in tests drive: N records of its
// own, published to whoever holds the effect. The derived effect fills the
// records in its constructor.
template <std::size_t N>
class RecordsEffect : public KAudioEffectPlugin {
protected:
    RecordsEffect() {
        m_parameters.records = m_records.data();
        m_parameters.recordCount = int(N);
    }

    std::array<KParameterRecord, N> m_records;
};

// The entry a test effect is reached through, working as an effect's own
// entry does: without an instance it makes one, the creation opcode answers
// the instance and every other opcode goes to its dispatcher.
template <class Effect>
std::intptr_t TestEffectEntry(void* instance, std::int32_t opcode, std::int64_t* parameters) {
    if (!instance) instance = static_cast<KPlugin*>(new Effect);
    if (opcode == KPluginOpcode::Create) return reinterpret_cast<std::intptr_t>(instance);
    return static_cast<KPlugin*>(instance)->Dispatch(opcode, parameters);
}
