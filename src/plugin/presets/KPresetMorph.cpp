#include "plugin/presets/KPresetMorph.h"

#include <algorithm>
#include <cmath>

KPresetMorph::KPresetMorph(std::vector<Corners> table, GetParameter get, SetParameter set)
    : m_table(std::move(table)), m_get(std::move(get)), m_set(std::move(set)) {}

double KPresetMorph::Blend(const Corners& c, double x, double y) noexcept {
    const double left = (1 - y) * c[0] + y * c[2];
    const double right = (1 - y) * c[1] + y * c[3];
    return (1 - x) * left + x * right;
}

void KPresetMorph::MoveTo(double x, double y) {
    // NaN stays where the point was.
    if (!std::isnan(x)) m_x = std::clamp(x, 0.0, 1.0);
    if (!std::isnan(y)) m_y = std::clamp(y, 0.0, 1.0);
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        const double value = Blend(m_table[i], m_x, m_y);
        if (std::fabs(value - m_get(int(i))) > kSmallestMove) m_set(int(i), value);
    }
}
