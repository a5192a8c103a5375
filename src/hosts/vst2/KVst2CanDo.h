#pragma once
#include "hosts/vst2/abi/VstEffect.h"

namespace Vst2 {

// The plug-in's answer to effCanDo: 1 yes, -1 no, 0 unknown. The text is
// compared whole and case-sensitively.
VstInt32 CanDo(const char* text, bool acceptsMidiInput, bool sendsMidiOutput) noexcept;

}  // namespace Vst2
