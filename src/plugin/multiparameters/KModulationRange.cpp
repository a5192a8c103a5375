#include "plugin/multiparameters/KModulationRange.h"

#include <algorithm>

double KMapModulation(const KModulationRange& r, double m) noexcept {
    const double V = r.value, M = r.maxValue, R = r.range;
    const double upward = (m + 1) / 2;  // 0..1
    switch (r.mode) {
        case KRangeMode::UpAndDown: {
            // The swing shrinks near the ends so that it stays symmetric.
            const double h = std::min({R / 2, V, 1 - V});
            return V + h * m;
        }
        case KRangeMode::FullRange: {
            // The whole swing is kept; the centre moves away from the ends.
            const double h = R / 2;
            const double k = V < h ? h : (V > 1 - h ? 1 - h : V);
            return k + h * m;
        }
        case KRangeMode::UpOnly: return V + std::min(1 - V, R) * upward;
        case KRangeMode::DownOnly: return V - std::min(V, R) * upward;
        case KRangeMode::Interval: return V + (M - V) * upward;
    }
    return V;
}
