#include <gtest/gtest.h>

#include "foundation/xml/KStorageContext.h"

#include <cmath>
#include <limits>

#include "foundation/core/Random.h"
#include "foundation/xml/KXMLItem.h"
#include "signal/generator/SignalGeneratorTesting.h"

namespace {

using Control = KSignalGenerator::Control;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The phase an oscillator hands over may be negative (a negative channel
// offset) or huge (a phase that ran for hours); the table repeats every cycle.
TEST(SignalGeneratorValues, SampleWrapsAnyFinitePhaseIntoTheTable) {
    auto g = NewGenerator();  // the sine: 1 at a quarter cycle
    EXPECT_EQ(g->Sample(-3.75), 1.0);
    EXPECT_EQ(g->Sample(-0.25), g->Sample(0.75));
    EXPECT_EQ(g->Sample(-1e-20), g->Table()[0]);  // rounds up to a whole cycle
    EXPECT_EQ(g->Sample(1e300), g->Table()[0]);   // every double this large is a whole number
    EXPECT_EQ(g->Sample(-1e300), g->Table()[0]);
    EXPECT_EQ(g->Sample(0x1p52 - 0.5), g->Sample(0.5));  // the largest phases with a fraction keep it
    EXPECT_EQ(g->Sample(kNaN), g->Table()[0]);
}

TEST(SignalGeneratorValues, NaNLeavesEverySettingAsItWas) {
    auto g = NewGenerator();
    g->Set(Control::Skew, 0.5);
    g->SetStepItem(0, -0.25);
    g->SetShapeHarmonicLevel(0, 0.5);
    g->SetShapeHarmonicPhase(0, 0.25);
    g->SetHarmonicMagnitude(1, 0.5);
    g->SetHarmonicPhase(1, 0.75);

    g->Set(Control::Skew, kNaN);
    g->SetStepItem(0, kNaN);
    g->SetShapeHarmonicLevel(0, kNaN);
    g->SetShapeHarmonicPhase(0, kNaN);
    g->SetHarmonicMagnitude(1, kNaN);
    g->SetHarmonicPhase(1, kNaN);

    EXPECT_EQ(g->Get(Control::Skew), 0.5);
    EXPECT_EQ(g->StepItem(0), -0.25f);
    EXPECT_EQ(g->ShapeHarmonicLevel(0), 0.5);
    EXPECT_EQ(g->ShapeHarmonicPhase(0), 0.25);
    EXPECT_EQ(g->HarmonicMagnitude(1), 0.5f);
    EXPECT_EQ(g->HarmonicPhase(1), 0.75f);
}

// The owner fades the step a new table makes whenever UpdateIfChanged says
// so; tables built at once (loading, randomising, resetting) must say so too,
// exactly once.
TEST(SignalGeneratorFades, EveryNewTableIsReportedOnceToTheNextBlock) {
    auto g = NewGenerator();
    EXPECT_FALSE(g->UpdateIfChanged());  // the first table replaces nothing

    KXMLItem item("Shape0");
    item.SetAttribute("value", "0");
    KStorageContext loading(item, false);
    g->Store(loading);
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_FALSE(g->UpdateIfChanged());

    KRandom::Seed(7);
    g->RandomizeShape(1.0);
    EXPECT_TRUE(g->UpdateIfChanged());
    g->RandomizeHarmonics(1.0);
    EXPECT_TRUE(g->UpdateIfChanged());
    g->Reset();
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_FALSE(g->UpdateIfChanged());

    g->Set(Control::Smoothness, 0.5);  // the edited path, as before
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_FALSE(g->UpdateIfChanged());
}

}  // namespace
