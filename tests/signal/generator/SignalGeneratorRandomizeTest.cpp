#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "signal/generator/SignalGeneratorTesting.h"
#include "foundation/core/Random.h"

namespace {

using Control = KSignalGenerator::Control;

// The shared generator written out: state × 214013 + 2531011, draw = bits 16..30.
struct ReferenceDraws {
    explicit ReferenceDraws(std::uint32_t seed) : state(seed) {}
    int Next() {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    }
    double Unit() { return Next() / 32767.0; }
    std::uint32_t state;
};

TEST(KSignalGeneratorRandomize, ShapeMovesAroundThePositionBySomeAmount) {
    auto g = NewGenerator();
    g->Set(Control::StepDepth, 0.5);
    g->UpdateIfChanged();
    KRandom::Seed(1234);
    ReferenceDraws r(1234);
    g->RandomizeShape(0.5);  // spread A = 1

    const double position = 15 * std::clamp((r.Unit() - 0.5) + 5 / 15.0, 0.0, 1.0);
    r.Next();  // skipped
    const double envelopeDepth = r.Unit();
    const double stepDepth = 0.5 + (r.Unit() - 0.5) * 0.25;
    EXPECT_DOUBLE_EQ(g->Get(Control::ShapePosition), position);
    EXPECT_DOUBLE_EQ(g->Get(Control::EnvelopeDepth), envelopeDepth);
    EXPECT_DOUBLE_EQ(g->Get(Control::StepDepth), stepDepth);
    EXPECT_EQ(KRandom::State(), r.state);
    EXPECT_FALSE(g->IsDirty());  // rebuilt at once
}

TEST(KSignalGeneratorRandomize, FullHarmonicsRandomisationDrawsEveryControl) {
    auto g = NewGenerator();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->UpdateIfChanged();
    const std::uint64_t seed = g->Seed();
    KRandom::Seed(2024);
    ReferenceDraws r(2024);
    g->RandomizeHarmonics(1);

    EXPECT_DOUBLE_EQ(g->Get(Control::Harmonicity), 2 * std::sqrt(r.Unit()) - 1);
    EXPECT_DOUBLE_EQ(g->Get(Control::Slope), 2 * std::pow(r.Unit(), 2) - 1);
    EXPECT_DOUBLE_EQ(g->Get(Control::Fullness), r.Unit());
    EXPECT_DOUBLE_EQ(g->Get(Control::FundamentalMinimum), std::sqrt(r.Unit()));
    const auto offOrAmount = [&r] { return r.Unit() > 0.5 ? 0.0 : r.Unit(); };
    EXPECT_DOUBLE_EQ(g->Get(Control::Sharpen), 2 * offOrAmount() - 1);
    for (Control c : {Control::Noise, Control::Clean, Control::Compress, Control::Harmonize, Control::SampleRatio}) {
        EXPECT_DOUBLE_EQ(g->Get(c), offOrAmount()) << int(c);
    }
    EXPECT_NE(g->Seed(), seed);
    EXPECT_FALSE(g->IsDirty());
    float peak = 0;
    for (int k = 0; k < 256; ++k) peak = std::max(peak, g->HarmonicMagnitude(k));
    EXPECT_EQ(peak, 1.0f);  // regenerated
}

TEST(KSignalGeneratorRandomize, PartialHarmonicsRandomisationNudgesWithinRange) {
    auto g = NewGenerator();
    g->Set(Control::Fullness, 1);  // at the top: can only stay or fall
    KRandom::Seed(7);
    ReferenceDraws r(7);
    g->RandomizeHarmonics(0.25);
    const auto step = [&r] { return (r.Next() - 16383) / 16384.0 * 0.25; };
    EXPECT_DOUBLE_EQ(g->Get(Control::Harmonicity), std::clamp(0.5 + step(), -1.0, 1.0));
    EXPECT_DOUBLE_EQ(g->Get(Control::Slope), std::clamp(-0.5 + step(), -1.0, 1.0));
    EXPECT_DOUBLE_EQ(g->Get(Control::Fullness), std::clamp(1 + step(), 0.0, 1.0));
    EXPECT_DOUBLE_EQ(g->Get(Control::FundamentalMinimum), std::clamp(0.75 + step(), 0.0, 1.0));
    EXPECT_DOUBLE_EQ(g->Get(Control::Sharpen), std::clamp(step(), -1.0, 1.0));
    for (Control c : {Control::Noise, Control::Clean, Control::Compress, Control::Harmonize}) {
        EXPECT_DOUBLE_EQ(g->Get(c), std::clamp(step(), 0.0, 1.0)) << int(c);
    }
    EXPECT_DOUBLE_EQ(g->Get(Control::SampleRatio), std::clamp(1 + step(), 0.0, 1.0));
}

}  // namespace
