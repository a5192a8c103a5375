#include "plugin/multiparameters/KMultiParameterEnums.h"

#include <array>

namespace KMultiParameterTexts {

std::span<const KString> Modes() {
    static const std::array<KString, 4> names{"Normal", "Switch", "Trigger", "Banks"};
    return names;
}

std::span<const KString> ValueModes() {
    static const std::array<KString, 2> names{"Percents", "By first parameter"};
    return names;
}

std::span<const KString> RangeModes() {
    static const std::array<KString, 5> names{"Up and down", "Full range", "Up only", "Down only", "Interval"};
    return names;
}

}  // namespace KMultiParameterTexts
