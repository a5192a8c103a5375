#pragma once
#include <cstdint>

#include "foundation/platform/Export.h"

// The exported entry of the effect object. A null handle creates a new
// effect; opcode 7 answers the handle itself; every other opcode goes to the
// effect's Dispatch.
HALVANE_EXPORT std::intptr_t HalvaneAudioEffectPluginInterface(void* handle, std::int32_t opcode,
                                                               std::int64_t* parameters);
