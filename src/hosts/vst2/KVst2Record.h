#pragma once
#include "hosts/vst2/abi/VstEffect.h"

namespace Vst2 {

// Points the record's entries (dispatcher, parameters, processing) at the
// adapter found through its `object` field.
void ConnectRecordEntries(AEffect& effect) noexcept;

// The dispatcher: one host request by opcode.
VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

}  // namespace Vst2
