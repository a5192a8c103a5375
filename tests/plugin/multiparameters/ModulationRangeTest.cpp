#include <gtest/gtest.h>

#include "plugin/multiparameters/KModulationRange.h"

namespace {

// Targets at the bottom (m = -1), middle (m = 0) and top (m = 1) of a swing.
struct Swing {
    double bottom, middle, top;
};

Swing SwingOf(KModulationRange range) {
    return {KMapModulation(range, -1), KMapModulation(range, 0), KMapModulation(range, 1)};
}

void ExpectSwing(KModulationRange range, Swing expected) {
    const Swing swing = SwingOf(range);
    EXPECT_NEAR(swing.bottom, expected.bottom, 1e-12);
    EXPECT_NEAR(swing.middle, expected.middle, 1e-12);
    EXPECT_NEAR(swing.top, expected.top, 1e-12);
}

TEST(ModulationRange, HelpTextExamples) {
    // Up and down, V 10%, R 100%: h = min(0.5, 0.1, 0.9) = 0.1, so 0%..20%.
    ExpectSwing({.value = 0.1, .range = 1, .mode = KRangeMode::UpAndDown}, {0, 0.1, 0.2});
    // Full range, V 10%, R 50%: h = 0.25, centre pushed up to 0.25: 0%..50%.
    ExpectSwing({.value = 0.1, .range = 0.5, .mode = KRangeMode::FullRange}, {0, 0.25, 0.5});
    // ... and with V 50%: centre 0.5, so 25%..75%.
    ExpectSwing({.value = 0.5, .range = 0.5, .mode = KRangeMode::FullRange}, {0.25, 0.5, 0.75});
    // Up only, V 10%, R 50%: s = min(0.9, 0.5) = 0.5, so 10%..60%.
    ExpectSwing({.value = 0.1, .range = 0.5, .mode = KRangeMode::UpOnly}, {0.1, 0.35, 0.6});
}

TEST(ModulationRange, DownOnlyAndTheEndsOfTheRange) {
    // Down only, V 0.5, R 0.3: s = 0.3, so 0.5 down to 0.2.
    ExpectSwing({.value = 0.5, .range = 0.3, .mode = KRangeMode::DownOnly}, {0.5, 0.35, 0.2});
    // Down only near the bottom: s = min(V, R) = 0.1 keeps it above 0.
    ExpectSwing({.value = 0.1, .range = 0.5, .mode = KRangeMode::DownOnly}, {0.1, 0.05, 0});
    // Up only near the top: s = min(1 - V, R) = 0.1.
    ExpectSwing({.value = 0.9, .range = 0.5, .mode = KRangeMode::UpOnly}, {0.9, 0.95, 1.0});
}

TEST(ModulationRange, UpAndDownWithValueZeroNeverMoves) {
    // h = min(R / 2, 0, 1) = 0 whatever the range and position.
    for (double range : {0.0, 0.5, 1.0})
        for (double m : {-1.0, -0.3, 0.0, 0.7, 1.0})
            EXPECT_DOUBLE_EQ(KMapModulation({.value = 0, .range = range, .mode = KRangeMode::UpAndDown}, m), 0);
}

TEST(ModulationRange, FullRangeWithRangeOneCoversEverythingWhateverTheValue) {
    // h = 0.5 and the centre is clamped to 0.5..0.5.
    for (double value : {0.0, 0.3, 0.5, 1.0})
        ExpectSwing({.value = value, .range = 1, .mode = KRangeMode::FullRange}, {0, 0.5, 1});
}

TEST(ModulationRange, IntervalRunsFromValueToMaximalValueEvenDownwards) {
    ExpectSwing({.value = 0.2, .maxValue = 0.6, .mode = KRangeMode::Interval}, {0.2, 0.4, 0.6});
    ExpectSwing({.value = 0.8, .maxValue = 0.2, .mode = KRangeMode::Interval}, {0.8, 0.5, 0.2});
}

TEST(ModulationRange, AnUnknownModeStaysAtTheValue) {
    ExpectSwing({.value = 0.3, .mode = KRangeMode(9)}, {0.3, 0.3, 0.3});
}

}  // namespace
