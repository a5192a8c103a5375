#include <gtest/gtest.h>

#include <limits>

#include "plugin/presets/KPresetMorph.h"

namespace {

struct Parameters {
    std::vector<double> values;
    std::vector<int> sets;

    KPresetMorph Morph(std::vector<KPresetMorph::Corners> table) {
        return KPresetMorph(
            std::move(table), [this](int i) { return values[std::size_t(i)]; },
            [this](int i, double v) {
                values[std::size_t(i)] = v;
                sets.push_back(i);
            });
    }
};

TEST(PresetMorph, BlendsTheFourCornersBilinearly) {
    // A, B, C, D = 0, 1, 0, 1 at (0.25, 0.5): left = 0, right = 1,
    // value = 0.75 * 0 + 0.25 * 1 = 0.25.
    EXPECT_DOUBLE_EQ(KPresetMorph::Blend({0, 1, 0, 1}, 0.25, 0.5), 0.25);
    EXPECT_DOUBLE_EQ(KPresetMorph::Blend({0.2, 0.4, 0.6, 0.8}, 0, 0), 0.2);  // A
    EXPECT_DOUBLE_EQ(KPresetMorph::Blend({0.2, 0.4, 0.6, 0.8}, 1, 1), 0.8);  // D
    // (0.5, 0.5): the mean of the corners.
    EXPECT_DOUBLE_EQ(KPresetMorph::Blend({0.2, 0.4, 0.6, 0.8}, 0.5, 0.5), 0.5);
}

TEST(PresetMorph, SetsOnlyParametersThatMoveAndClampsThePoint) {
    Parameters p{{0.0, 0.5}, {}};
    KPresetMorph morph = p.Morph({{0, 1, 0, 1}, {0.5, 0.5, 0.5, 0.5000001}});
    morph.MoveTo(0.25, 0.5);
    EXPECT_DOUBLE_EQ(p.values[0], 0.25);
    EXPECT_EQ(p.sets, std::vector<int>{0});  // the second moved by 5e-8 only
    morph.MoveTo(-3, 7);  // held at (0, 1): C
    EXPECT_DOUBLE_EQ(morph.X(), 0);
    EXPECT_DOUBLE_EQ(morph.Y(), 1);
    EXPECT_DOUBLE_EQ(p.values[0], 0);
    morph.MoveTo(std::numeric_limits<double>::quiet_NaN(), 0.0);
    EXPECT_DOUBLE_EQ(morph.X(), 0);
}

}  // namespace
