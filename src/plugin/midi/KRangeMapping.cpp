#include "plugin/midi/KRangeMapping.h"

#include <algorithm>

namespace KRangeMapping {

const KString& ModeName(KRangeMode mode) {
    static const KString kNames[kModeCount] = {"Up and down", "Full range", "Up only", "Down only", "Interval"};
    return kNames[std::clamp(int(mode), 0, kModeCount - 1)];
}

double Map(const Range& r, double m) noexcept {
    const double V = r.value;
    const double up = (m + 1) / 2;  // 0..1
    switch (r.mode) {
        case KRangeMode::UpAndDown: return V + std::min({r.range / 2, V, 1 - V}) * m;
        case KRangeMode::FullRange: {
            const double h = r.range / 2;
            const double centre = V < h ? h : (V > 1 - h ? 1 - h : V);
            return centre + h * m;
        }
        case KRangeMode::UpOnly: return V + std::min(1 - V, r.range) * up;
        case KRangeMode::DownOnly: return V - std::min(V, r.range) * up;
        case KRangeMode::Interval: return V + (r.maxValue - V) * up;
    }
    return V;
}

}  // namespace KRangeMapping
