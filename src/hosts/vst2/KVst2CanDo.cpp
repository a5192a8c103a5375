#include "hosts/vst2/KVst2CanDo.h"

#include <string_view>

namespace Vst2 {

namespace {

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> names) noexcept {
    for (std::string_view name : names)
        if (text == name) return true;
    return false;
}

VstInt32 YesNo(bool yes) noexcept { return yes ? 1 : -1; }

}  // namespace

VstInt32 CanDo(const char* text, bool acceptsMidiInput, bool sendsMidiOutput) noexcept {
    if (!text) return 0;
    const std::string_view asked(text);
    if (IsOneOf(asked, {"receiveVstEvents", "receiveVstEvent", "receiveVstMidiEvents", "receiveVstMidiEvent"}))
        return YesNo(acceptsMidiInput);
    if (IsOneOf(asked, {"sendVstEvents", "sendVstEvent", "sendVstMidiEvents", "sendVstMidiEvent"}))
        return YesNo(sendsMidiOutput);
    if (IsOneOf(asked, {"plugAsChannelInsert", "canMono", "plugAsSend", "receiveVstTimeInfo"})) return 1;
    // The host's soft bypass is refused: bypass is the plug-in's own
    // switch, with its latency-aligned dry path.
    if (asked == "bypass") return -1;
    return 0;
}

}  // namespace Vst2
