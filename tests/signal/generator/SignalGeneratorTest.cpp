#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "signal/generator/SignalGeneratorTesting.h"

namespace {

using Control = KSignalGenerator::Control;

// Applies settings and takes them up the way the owner's block start does.
template <class Edit>
std::unique_ptr<KSignalGenerator> Built(Edit edit) {
    auto generator = NewGenerator();
    edit(*generator);
    generator->UpdateIfChanged();
    return generator;
}

TEST(KSignalGenerator, NewGeneratorHoldsTheSineTable) {
    auto g = NewGenerator();
    for (int j = 0; j < 8192; ++j) ASSERT_EQ(g->Table()[j], BasicShape(5)[j]) << j;
    EXPECT_EQ(g->Table()[8192], g->Table()[0]);
    EXPECT_EQ(g->Sample(0.25), 1.0);
    EXPECT_EQ(g->Sample(3.25), 1.0);  // phases wrap every cycle
    EXPECT_EQ(g->GetMode(), KSignalGenerator::Mode::Normal);
    EXPECT_EQ(g->Get(Control::ShapePosition), 5);
    EXPECT_EQ(g->HarmonicCount(), 32);
    EXPECT_EQ(g->StepItemCount(), 8);
    EXPECT_EQ(g->StepItem(1), -1.0f);
}

TEST(KSignalGenerator, SampleInterpolatesInSinglePrecision) {
    auto g = NewGenerator();
    const float* t = g->Table();
    // x = 100.25 samples: f = 0.25.
    EXPECT_EQ(g->Sample(100.25 / 8192), double(0.75f * t[100] + 0.25f * t[101]));
    // The last interval runs into entry 8192, the copy of entry 0.
    EXPECT_EQ(g->Sample(8191.5 / 8192), double(0.5f * t[8191] + 0.5f * t[0]));
}

TEST(KSignalGenerator, ShapePositionMorphsBetweenNeighbouringShapes) {
    auto g = Built([](KSignalGenerator& g) { g.Set(Control::ShapePosition, 5.25); });
    std::vector<double> morph(8192);
    double peak = 0.1;
    for (int j = 0; j < 8192; ++j) {
        morph[j] = 0.75 * BasicShape(5)[j] + 0.25 * BasicShape(6)[j];
        peak = std::max(peak, std::abs(morph[j]));
    }
    for (int j = 0; j < 8192; j += 37) ASSERT_NEAR(g->Table()[j], morph[j] / peak, 1e-6) << j;
    EXPECT_DOUBLE_EQ(g->MorphFraction(), 0.25);
}

TEST(KSignalGenerator, TopPositionIsMessExactly) {
    auto g = Built([](KSignalGenerator& g) { g.Set(Control::ShapePosition, 15); });
    EXPECT_EQ(g->MorphFraction(), 1.0);
    double peak = 0;
    for (float v : BasicShape(15)) peak = std::max(peak, double(std::abs(v)));
    for (int j = 0; j < 8192; j += 13) ASSERT_EQ(g->Table()[j], float(BasicShape(15)[j] / float(peak))) << j;
    // Out-of-range positions are held at the ends.
    g->Set(Control::ShapePosition, 40);
    EXPECT_EQ(g->Get(Control::ShapePosition), 15);
    // A NaN is no position: the one before stays.
    g->Set(Control::ShapePosition, std::nan(""));
    EXPECT_EQ(g->Get(Control::ShapePosition), 15);
}

TEST(KSignalGenerator, PhaseRotatesTheWaveform) {
    auto quarter = Built([](KSignalGenerator& g) { g.Set(Control::Phase, 0.25); });
    for (int j = 0; j < 8192; j += 7) ASSERT_EQ(quarter->Table()[j], BasicShape(5)[(j - 2048) & 8191]) << j;
    // A negative phase counts from the end of the period: -0.25 delays by 6144.
    auto back = Built([](KSignalGenerator& g) { g.Set(Control::Phase, -0.25); });
    for (int j = 0; j < 8192; j += 7) ASSERT_EQ(back->Table()[j], BasicShape(5)[(j - 6144) & 8191]) << j;
    // A whole period is no change.
    auto whole = Built([](KSignalGenerator& g) { g.Set(Control::Phase, 1); });
    for (int j = 0; j < 8192; j += 7) ASSERT_EQ(whole->Table()[j], BasicShape(5)[j]) << j;
}

// Skew 1: g = 3, the time map starts with slope 3, so the start of the
// period runs three times faster.
TEST(KSignalGenerator, SkewBendsTime) {
    auto g = Built([](KSignalGenerator& g) { g.Set(Control::Skew, 1); });
    const double x = 10 / 8191.0;
    const double mapped = (4 * x * x - 6 * x + 3) * x * 8191;  // (2g-2)x³ + (3-3g)x² + gx
    EXPECT_NEAR(mapped, 30, 0.1);
    EXPECT_NEAR(g->Table()[10], ShapeAt(5, mapped), 1e-6);
    EXPECT_EQ(g->Table()[0], BasicShape(5)[0]);
    EXPECT_NEAR(g->Table()[8191], BasicShape(5)[8191], 1e-6);
}

// FullSkew 1: position (j / 8191)^10 × 8191; FullSkew -1 mirrors the bend.
TEST(KSignalGenerator, FullSkewBendsTimeTowardsOneEnd) {
    auto late = Built([](KSignalGenerator& g) { g.Set(Control::FullSkew, 1); });
    const double position = std::pow(6000 / 8191.0, 10) * 8191;
    EXPECT_NEAR(late->Table()[6000], ShapeAt(5, position), 1e-6);
    auto early = Built([](KSignalGenerator& g) { g.Set(Control::FullSkew, -1); });
    const double mirrored = (1 - std::pow(1 - 2000 / 8191.0, 10)) * 8191;
    EXPECT_NEAR(early->Table()[2000], ShapeAt(5, mirrored), 1e-6);
}

TEST(KSignalGenerator, HalveOneSqueezesTheFirstHalfIntoAllButTwoSamples) {
    auto g = Built([](KSignalGenerator& g) { g.Set(Control::Halve, 1); });
    const float* t = g->Table();
    const auto& sine = BasicShape(5);
    // Split 4096 + 4094 = 8190: both halves keep their end samples (up to the
    // normalisation, as the resampled crest falls between samples).
    EXPECT_FLOAT_EQ(t[0], sine[0]);
    EXPECT_FLOAT_EQ(t[8189], sine[4095]);
    EXPECT_FLOAT_EQ(t[8190], sine[4096]);
    EXPECT_FLOAT_EQ(t[8191], sine[8191]);
    // The crest (source 2048) lands at 2048 × 8189 / 4095 = 4095.5.
    EXPECT_NEAR(t[4095], 1.0, 1e-6);
    EXPECT_NEAR(t[4096], 1.0, 1e-6);
}

TEST(KSignalGenerator, ThreeStepItemsEndAt2730And5461And8192) {
    auto g = Built([](KSignalGenerator& g) {
        g.Set(Control::StepDepth, 1);
        g.SetStepItemCount(3);
    });
    const float* t = g->Table();  // items 1, -1, 1
    EXPECT_EQ(t[0], 1.0f);
    EXPECT_EQ(t[2729], 1.0f);
    EXPECT_EQ(t[2730], -1.0f);
    EXPECT_EQ(t[5460], -1.0f);
    EXPECT_EQ(t[5461], 1.0f);
    EXPECT_EQ(t[8191], 1.0f);
}

// One "Linear up" step of level 1 reads the shape at (j × 1024) / 8192 = j / 8.
TEST(KSignalGenerator, StepShapesRiseFromTheLowestLevelOrFromZero) {
    const auto linear = [](bool lowest) {
        return Built([lowest](KSignalGenerator& g) {
            g.Set(Control::StepDepth, 1);
            g.SetStepItemCount(1);
            g.SetStepType(0, 1);
            g.SetStepBaseLowest(lowest);
        });
    };
    auto lowest = linear(true);
    EXPECT_EQ(lowest->Table()[0], -1.0f);
    EXPECT_NEAR(lowest->Table()[4096], 512 / 1023.0 * 2 - 1, 1e-7);
    EXPECT_EQ(lowest->Table()[8191], 1.0f);
    auto zero = linear(false);
    EXPECT_EQ(zero->Table()[0], 0.0f);
    EXPECT_NEAR(zero->Table()[4096], 512 / 1023.0, 1e-7);
}

// Steps of level 0.05 peak below the 0.1 floor: they are divided by 0.1.
TEST(KSignalGenerator, QuietWaveformsStayQuiet) {
    auto g = Built([](KSignalGenerator& g) {
        g.Set(Control::StepDepth, 1);
        for (int k = 0; k < 8; ++k) g.SetStepItem(k, 0.05);
    });
    EXPECT_NEAR(g->Table()[100], 0.5, 1e-6);
}

TEST(KSignalGenerator, CustomSampleReplacesOrBlendsTheShape) {
    std::vector<float> saw(8192);
    for (int j = 0; j < 8192; ++j) saw[j] = 0.5f - j / 8192.0f;
    auto full = Built([&](KSignalGenerator& g) {
        g.SetCustomSample(saw.data());
        g.Set(Control::CustomSampleDepth, 1);
    });
    EXPECT_NEAR(full->Table()[0], 1.0, 1e-6);  // 0.5 / peak 0.5
    EXPECT_NEAR(full->Table()[4096], 0.0, 1e-6);

    auto half = Built([&](KSignalGenerator& g) {
        g.SetCustomSample(saw.data());
        g.Set(Control::CustomSampleDepth, 0.5);
    });
    std::vector<double> blend(8192);
    double peak = 0;
    for (int j = 0; j < 8192; ++j) {
        blend[j] = 0.5 * BasicShape(5)[j] + 0.5 * saw[j];
        peak = std::max(peak, std::abs(blend[j]));
    }
    for (int j = 0; j < 8192; j += 19) ASSERT_NEAR(half->Table()[j], blend[j] / peak, 1e-6) << j;

    // Without a sample its depth is held at 0.
    auto none = NewGenerator();
    none->Set(Control::CustomSampleDepth, 1);
    EXPECT_EQ(none->Get(Control::CustomSampleDepth), 0);
    full->ClearCustomSample();
    EXPECT_FALSE(full->HasCustomSample());
    EXPECT_EQ(full->Get(Control::CustomSampleDepth), 0);
}

// The default custom morph envelope runs 0, 1, -1, 0 at x = 0, 0.25, 0.75, 1:
// a triangle wave in phase with the sine.
TEST(KSignalGenerator, FullCustomMorphPlaysTheEnvelope) {
    auto g = Built([](KSignalGenerator& g) { g.Set(Control::EnvelopeDepth, 1); });
    EXPECT_NEAR(g->Table()[0], 0.0, 1e-6);
    EXPECT_NEAR(g->Table()[1024], 0.5, 1e-6);
    EXPECT_NEAR(g->Table()[2048], 1.0, 1e-6);
    EXPECT_NEAR(g->Table()[4096], 0.0, 1e-6);
    EXPECT_NEAR(g->Table()[6144], -1.0, 1e-6);
}

// Level 1 of the second multiple adds the shape read twice as fast; its
// phase starts that copy later in the period (0.25: 2048 samples).
TEST(KSignalGenerator, ShapeHarmonicsAddFasterCopies) {
    for (const double phase : {0.0, 0.25}) {
        auto g = Built([phase](KSignalGenerator& g) {
            g.SetShapeHarmonicLevel(0, 1);
            g.SetShapeHarmonicPhase(0, phase);
        });
        const auto& sine = BasicShape(5);
        const int start = int(phase * 8192);
        std::vector<double> sum(8192);
        double peak = 0;
        for (int j = 0; j < 8192; ++j) {
            sum[j] = double(sine[j]) + sine[(start + 2 * j) & 8191];
            peak = std::max(peak, std::abs(sum[j]));
        }
        for (int j = 0; j < 8192; j += 41) ASSERT_NEAR(g->Table()[j], sum[j] / peak, 1e-6) << phase << " " << j;
    }
}

// The identity envelopes leave the waveform as it was (the transform reads
// position j × 8192 / 8191, within a sample of j).
TEST(KSignalGenerator, IdentityTransformsChangeNothing) {
    auto g = Built([](KSignalGenerator& g) {
        g.SetTransformEnabled(true);
        g.SetAmplitudeTransformEnabled(true);
    });
    for (int j = 0; j < 8192; j += 17) ASSERT_NEAR(g->Table()[j], BasicShape(5)[j], 1e-3) << j;
}

TEST(KSignalGenerator, AmplitudeTransformMapsEachValue) {
    auto g = NewGenerator();
    // Folds the waveform: y -> |y|.
    KEnvelope fold({-1, 1}, {-1, 1}, 1, 1);
    KEnvelope::Point middle;
    middle.x = 0;
    middle.y = 0;
    fold.AddPoint(middle);
    g->SetEnvelope(KSignalGenerator::EnvelopeRole::AmplitudeTransform, fold);
    g->SetAmplitudeTransformEnabled(true);
    g->UpdateIfChanged();
    for (int j = 0; j < 8192; j += 29) ASSERT_NEAR(g->Table()[j], std::abs(BasicShape(5)[j]), 1e-6) << j;
}

// From a damaged state: an envelope without points is the constant
// (MinY + MaxY) / 2, here about -4.4e38, beyond float range. It counts as the
// range's edge, so the full custom morph is the constant -1 (the largest
// float divided by itself), and an amplitude transform at 1e39 is held at 1.
TEST(KSignalGenerator, EnvelopeLevelsBeyondFloatRangeLeaveAFiniteTable) {
    KEnvelope beyond({0, 1}, {-8.9e38, 1});
    beyond.SetPoints({});
    auto g = NewGenerator();
    g->SetEnvelope(KSignalGenerator::EnvelopeRole::CustomMorph, beyond);
    g->Set(Control::EnvelopeDepth, 1);
    g->UpdateIfChanged();
    for (int j = 0; j <= 8192; ++j) ASSERT_EQ(g->Table()[j], -1.0f) << j;

    KEnvelope high({-1, 1}, {1e39, 1e39});
    high.SetPoints({});
    g->SetEnvelope(KSignalGenerator::EnvelopeRole::AmplitudeTransform, high);
    g->SetAmplitudeTransformEnabled(true);
    g->UpdateIfChanged();
    for (int j = 0; j <= 8192; ++j) ASSERT_EQ(g->Table()[j], 1.0f) << j;
}

// A sine convolved with a normalised symmetric kernel keeps its shape, only
// scaled, and normalisation restores the scale.
TEST(KSignalGenerator, SmoothnessKeepsASineASine) {
    auto g = Built([](KSignalGenerator& g) { g.Set(Control::Smoothness, 0.5); });
    for (int j = 0; j < 8192; j += 31) ASSERT_NEAR(g->Table()[j], BasicShape(5)[j], 1e-5) << j;
}

TEST(KSignalGenerator, HarmonicsModeWithTheFundamentalAloneIsACosine) {
    auto g = Built([](KSignalGenerator& g) { g.SetMode(KSignalGenerator::Mode::Harmonics); });
    EXPECT_NEAR(TablePeak(*g), 1.0, 1e-6);
    for (int j = 0; j < 8192; j += 11) ASSERT_NEAR(g->Table()[j], std::cos(2 * std::numbers::pi * j / 8192), 1e-5) << j;
    EXPECT_EQ(g->Table()[8192], g->Table()[0]);
}

// Amplitudes are the squared magnitudes: 1 and 0.25 for magnitudes 1 and 0.5;
// phases are in cycles.
TEST(KSignalGenerator, HarmonicsModeSumsSquaredMagnitudes) {
    auto g = Built([](KSignalGenerator& g) {
        g.SetMode(KSignalGenerator::Mode::Harmonics);
        g.SetHarmonicMagnitude(1, 0.5);
        g.SetHarmonicPhase(1, 0.25);
    });
    const auto expected = [](int j) {
        const double x = 2 * std::numbers::pi * j / 8192;
        return std::cos(x) + 0.25 * std::cos(2 * x - std::numbers::pi / 2);
    };
    double peak = 0;
    for (int j = 0; j < 8192; ++j) peak = std::max(peak, std::abs(expected(j)));
    for (int j = 0; j < 8192; j += 23) ASSERT_NEAR(g->Table()[j], expected(j) / peak, 1e-5) << j;

    // Harmonics beyond the count are not played.
    g->SetHarmonicCount(1);
    g->UpdateIfChanged();
    for (int j = 0; j < 8192; j += 23) ASSERT_NEAR(g->Table()[j], std::cos(2 * std::numbers::pi * j / 8192), 1e-5);
}

TEST(KSignalGenerator, SilentHarmonicsLeaveASilentTable) {
    auto g = Built([](KSignalGenerator& g) {
        g.SetMode(KSignalGenerator::Mode::Harmonics);
        g.SetHarmonicMagnitude(0, 0);
    });
    for (int j = 0; j <= 8192; ++j) ASSERT_EQ(g->Table()[j], 0.0f);
}

class CountingOwner : public KSignalGenerator::Owner {
public:
    void OnSpecialParameterChanged() override { ++changes; }
    int changes = 0;
};

TEST(KSignalGenerator, EditsWaitForTheNextUpdate) {
    auto g = NewGenerator();
    CountingOwner owner;
    g->SetOwner(&owner);
    EXPECT_FALSE(g->UpdateIfChanged());
    g->Set(Control::Phase, 0.25);
    EXPECT_EQ(owner.changes, 1);
    EXPECT_TRUE(g->IsDirty());
    EXPECT_TRUE(g->IsRebuildPending());
    EXPECT_EQ(g->Table()[2048], 1.0f);  // unchanged until the update
    EXPECT_TRUE(g->UpdateIfChanged());
    EXPECT_FALSE(g->IsRebuildPending());
    EXPECT_EQ(g->Table()[4096], 1.0f);
    EXPECT_FALSE(g->UpdateIfChanged());
}

TEST(KSignalGenerator, GeneratorControlsRegenerateTheHarmonics) {
    auto g = NewGenerator();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->UpdateIfChanged();
    EXPECT_EQ(g->HarmonicMagnitude(1), 0.0f);
    g->Set(Control::Fullness, 1);  // every harmonic gets a level
    g->UpdateIfChanged();
    EXPECT_GT(g->HarmonicMagnitude(1), 0.0f);
    float peak = 0;
    for (int k = 0; k < 256; ++k) peak = std::max(peak, g->HarmonicMagnitude(k));
    EXPECT_EQ(peak, 1.0f);
}

// A magnitude typed in after a generator control, before the next block,
// lands on the regenerated harmonics rather than being overwritten by them.
TEST(KSignalGenerator, DirectHarmonicEditsSurviveAPendingRegeneration) {
    auto g = NewGenerator();
    g->Set(Control::Fullness, 1);  // every harmonic gets a level
    g->SetHarmonicMagnitude(5, 0.3);
    g->UpdateIfChanged();
    EXPECT_EQ(g->HarmonicMagnitude(5), 0.3f);
    EXPECT_NE(g->HarmonicMagnitude(1), 0.0f);
}

TEST(KSignalGenerator, ResetKeepsTheShapeAndDrawsANewSeed) {
    auto g = NewGenerator();
    g->Set(Control::ShapePosition, 7);
    g->Set(Control::Phase, 0.5);
    g->SetStepItemCount(4);
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    const std::uint64_t seed = g->Seed();
    g->Reset();
    EXPECT_EQ(g->Get(Control::ShapePosition), 7);
    EXPECT_EQ(g->Get(Control::Phase), 0);
    EXPECT_EQ(g->StepItemCount(), 4);
    EXPECT_EQ(g->GetMode(), KSignalGenerator::Mode::Normal);
    EXPECT_NE(g->Seed(), seed);
    EXPECT_FALSE(g->IsDirty());
}

TEST(KSignalGenerator, ShapeText) {
    EXPECT_EQ(KSignalGenerator::ShapeText(5), KString("Sine"));
    EXPECT_EQ(KSignalGenerator::ShapeText(5.3), KString("70% Sine, 30% Harmonics"));
    EXPECT_EQ(KSignalGenerator::ShapeText(5.999), KString("Harmonics"));  // 99.9 rounds to 100
    EXPECT_EQ(KSignalGenerator::ShapeText(15), KString("Mess"));
}

}  // namespace
