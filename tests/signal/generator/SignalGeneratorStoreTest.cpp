#include <gtest/gtest.h>

#include "foundation/xml/StorageTestSupport.h"
#include <memory>
#include <vector>

#include "signal/envelope/EnvelopeTesting.h"
#include "signal/generator/SignalGeneratorTesting.h"
#include "foundation/xml/KXMLItem.h"

namespace {

using Control = KSignalGenerator::Control;

void ExpectSameTable(const KSignalGenerator& a, const KSignalGenerator& b) {
    for (int j = 0; j <= 8192; ++j) ASSERT_EQ(a.Table()[j], b.Table()[j]) << "sample " << j;
}

// Every normal-mode operation on, with values that 12 (and for the step
// items 6) significant digits hold exactly.
void SwitchEverythingOn(KSignalGenerator& g) {
    g.Set(Control::ShapePosition, 6.5);
    g.Set(Control::EnvelopeDepth, 0.25);
    g.Set(Control::StepDepth, 0.5);
    g.SetStepItemCount(5);
    g.SetStepItem(2, 0.75);
    g.SetStepType(1, 11);
    g.SetStepType(3, 30);
    g.SetStepBaseLowest(false);
    std::vector<float> custom(8192);
    for (int j = 0; j < 8192; ++j) custom[j] = float(j % 1000) / 1000.0f - 0.5f;
    g.SetCustomSample(custom.data());
    g.Set(Control::CustomSampleDepth, 0.125);
    g.Set(Control::Phase, 0.1);
    g.Set(Control::Skew, -0.3);
    g.Set(Control::FullSkew, 0.2);
    g.Set(Control::Halve, 0.4);
    g.SetShapeHarmonicLevel(0, 0.5);
    g.SetShapeHarmonicLevel(4, -0.25);
    g.SetShapeHarmonicPhase(4, 0.3);
    g.SetTransformEnabled(true);
    g.SetAmplitudeTransformEnabled(true);
    KEnvelope bend({-1, 1}, {-1, 1});
    KEnvelope::Point knee;
    knee.x = 0.2;
    knee.y = 0.6;
    knee.curvature = 0.5;
    bend.AddPoint(knee);
    g.SetEnvelope(KSignalGenerator::EnvelopeRole::AmplitudeTransform, bend);
    g.Set(Control::Smoothness, 0.15);  // w = 38.4: the FFT path
    g.UpdateIfChanged();
}

TEST(KSignalGeneratorStore, NormalModeRoundTripIsBitExact) {
    auto source = NewGenerator();
    SwitchEverythingOn(*source);
    KXMLItem item("Shape0");
    StoreInto(*source, item);
    auto copy = NewGenerator();
    LoadFrom(*copy, item);
    ExpectSameTable(*source, *copy);
    EXPECT_EQ(copy->StepType(3), 30);
    EXPECT_EQ(copy->StepItem(2), 0.75f);
    EXPECT_EQ(copy->Get(Control::Halve), 0.4);
    EXPECT_TRUE(copy->HasCustomSample());
    EXPECT_FALSE(copy->IsDirty());
}

TEST(KSignalGeneratorStore, HarmonicsModeRoundTripIsBitExact) {
    auto source = NewGenerator();
    source->SetMode(KSignalGenerator::Mode::Harmonics);
    source->SetHarmonicCount(200);
    source->Set(Control::Fullness, 0.875);
    source->Set(Control::Sharpen, 0.25);
    source->Set(Control::Noise, 0.125);
    source->Set(Control::Clean, 0.0625);
    source->Set(Control::Compress, 0.5);
    source->Set(Control::Harmonize, 0.375);
    source->SetSeed(0xFEDCBA9876543210ull);  // above 2^63: stored as its signed twin
    source->UpdateIfChanged();

    KXMLItem item("Shape1");
    StoreInto(*source, item);
    EXPECT_FALSE(item.HasAttribute("value"));  // only the keys of the mode
    auto copy = NewGenerator();
    LoadFrom(*copy, item);
    ExpectSameTable(*source, *copy);
    EXPECT_EQ(copy->Seed(), 0xFEDCBA9876543210ull);
    EXPECT_EQ(copy->HarmonicCount(), 200);
    EXPECT_EQ(copy->Get(Control::Harmonize), 0.375);
    for (int k = 0; k < 200; ++k) ASSERT_EQ(copy->HarmonicMagnitude(k), source->HarmonicMagnitude(k)) << k;
}

TEST(KSignalGeneratorStore, ZeroOperationsAndPostProcessorsAreLeftOut) {
    auto g = NewGenerator();
    g->Set(Control::Skew, 0.5);
    KXMLItem item("Shape0");
    StoreInto(*g, item);
    KXMLItem* operations = item.FindSubItem("Operations");
    ASSERT_NE(operations, nullptr);
    EXPECT_TRUE(operations->HasAttribute("Skew"));
    EXPECT_FALSE(operations->HasAttribute("Phase"));
    EXPECT_TRUE(operations->HasAttribute("Harmonic0"));
    EXPECT_EQ(item.FindSubItem("CustomSample"), nullptr);
    EXPECT_EQ(item.FindSubItem("Harmonics"), nullptr);

    // Storing again into the same item drops what became 0.
    g->Set(Control::Skew, 0);
    StoreInto(*g, item);
    EXPECT_FALSE(operations->HasAttribute("Skew"));

    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->Set(Control::Clean, 0.5);
    KXMLItem harmonicsItem("Shape0");
    StoreInto(*g, harmonicsItem);
    KXMLItem& harmonics = harmonicsItem.RequiredSubItem("Harmonics");
    EXPECT_TRUE(harmonics.HasAttribute("PostProcess.Clean"));
    EXPECT_FALSE(harmonics.HasAttribute("PostProcess.Noise"));
    EXPECT_EQ(harmonics.RequiredSubItem("Magnitudes").Text().Length(), 32 * 4 * 2);  // Count floats, two digits a byte
}

TEST(KSignalGeneratorStore, AnItemWithoutModeLoadsAsNormal) {
    auto g = NewGenerator();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->UpdateIfChanged();
    KXMLItem item("Shape0");
    item.SetAttribute("value", "3");
    LoadFrom(*g, item);
    EXPECT_EQ(g->GetMode(), KSignalGenerator::Mode::Normal);
    EXPECT_EQ(g->Get(Control::ShapePosition), 3);
    for (int j = 0; j < 8192; j += 101) ASSERT_EQ(g->Table()[j], BasicShape(3)[j]);
}

TEST(KSignalGeneratorStore, MissingKeysResetOrKeepAsTheFormatSays) {
    auto g = NewGenerator();
    std::vector<float> custom(8192, 0.5f);
    g->SetCustomSample(custom.data());
    g->Set(Control::CustomSampleDepth, 0.5);
    g->Set(Control::Phase, 0.5);
    g->SetTransformEnabled(true);
    g->SetStepBaseLowest(false);
    g->SetStepItemCount(12);
    g->Set(Control::EnvelopeDepth, 0.5);
    g->Set(Control::Smoothness, 0.25);

    KXMLItem item("Shape0");
    item.SetAttribute("Mode", "Normal");
    LoadFrom(*g, item);
    EXPECT_EQ(g->Get(Control::Phase), 0);           // reset
    EXPECT_FALSE(g->TransformEnabled());            // reset
    EXPECT_TRUE(g->StepBaseLowest());               // reset to true
    EXPECT_FALSE(g->HasCustomSample());             // cleared with its depth
    EXPECT_EQ(g->Get(Control::CustomSampleDepth), 0);
    EXPECT_EQ(g->Get(Control::EnvelopeDepth), 0);   // reads as 0
    EXPECT_EQ(g->StepItemCount(), 12);              // kept
    EXPECT_EQ(g->Get(Control::Smoothness), 0.25);   // kept
}

// A damaged state with a custom morph point at x NaN: loading finishes (it
// builds the table) and plays the envelope without that point, the line
// y = x sampled at j / 8192 and normalised by its peak 8191 / 8192.
TEST(KSignalGeneratorStore, ACustomMorphPointAtNaNIsLeftOutInsteadOfStallingTheBuild) {
    auto state = std::make_shared<KXMLItem>("Shape0");
    state->SetAttribute("Mode", "Normal");
    state->SetAttribute("EnvelopeDepth", "1");
    KXMLItem& envelope = state->AddSubItem("Envelope");
    envelope.SetAttribute("MinY", "-1");
    for (const char* x : {"0", "nan", "1"}) {
        KXMLItem& point = envelope.AddSubItem("Point");
        point.SetAttribute("x", KString::FromBytes(x));
        point.SetAttribute("y", KString::FromBytes(x[0] == '1' ? "1" : x[0] == 'n' ? "0.3" : "0"));
    }
    std::shared_ptr<KSignalGenerator> g = NewGenerator();
    ASSERT_TRUE(envelope_testing::FinishesInTime([g, state] { LoadFrom(*g, *state); })) << "loading never finished";
    for (int j = 0; j < 8192; j += 97) ASSERT_NEAR(g->Table()[j], j / 8191.0, 1e-6) << j;
}

TEST(KSignalGeneratorStore, OlderStatesListHarmonicsAsAttributes) {
    KXMLItem item("Shape0");
    item.SetAttribute("Mode", "harmonics");  // names match case-insensitively
    KXMLItem& harmonics = item.AddSubItem("Harmonics");
    harmonics.SetAttribute("Count", "2");
    harmonics.SetAttribute("X0", "0.5");
    harmonics.SetAttribute("X1", "1");
    harmonics.SetAttribute("Y1", "0.25");
    auto g = NewGenerator();
    LoadFrom(*g, item);
    EXPECT_EQ(g->GetMode(), KSignalGenerator::Mode::Harmonics);
    EXPECT_EQ(g->HarmonicMagnitude(0), 0.5f);
    EXPECT_EQ(g->HarmonicMagnitude(1), 1.0f);
    EXPECT_EQ(g->HarmonicPhase(1), 0.25f);
    EXPECT_EQ(g->HarmonicPhase(0), 0.0f);
}

TEST(KSignalGeneratorStore, OutOfRangeValuesAreHeldWithinTheModel) {
    KXMLItem item("Shape0");
    item.SetAttribute("Mode", "Bogus");
    item.SetAttribute("value", "99");
    item.SetAttribute("Smoothness", "5");
    KXMLItem& step = item.AddSubItem("Step");
    step.SetAttribute("StepItemCount", "1000");
    step.SetAttribute("Types0", "77");
    step.SetAttribute("Item0", "-3");
    auto g = NewGenerator();
    LoadFrom(*g, item);
    EXPECT_EQ(g->GetMode(), KSignalGenerator::Mode::Normal);
    EXPECT_EQ(g->Get(Control::ShapePosition), 15);
    EXPECT_EQ(g->Get(Control::Smoothness), 1);
    EXPECT_EQ(g->StepItemCount(), 32);
    EXPECT_EQ(g->StepType(0), 36);
    EXPECT_EQ(g->StepItem(0), -1.0f);

    KXMLItem harmonicsItem("Shape0");
    harmonicsItem.SetAttribute("Mode", "Harmonics");
    KXMLItem& harmonics = harmonicsItem.AddSubItem("Harmonics");
    harmonics.SetAttribute("Count", "2");
    harmonics.AddSubItem("Magnitudes").SetText("0000");  // 2 bytes of the 8 due
    LoadFrom(*g, harmonicsItem);
    EXPECT_EQ(g->HarmonicMagnitude(0), 1.0f);  // a broken block counts as missing
    harmonics.SetAttribute("Count", "-4");
    LoadFrom(*g, harmonicsItem);
    EXPECT_EQ(g->HarmonicCount(), 0);

    KXMLItem brokenCustom("Shape0");
    brokenCustom.AddSubItem("CustomSample").SetText("not hexadecimal");
    LoadFrom(*g, brokenCustom);
    EXPECT_FALSE(g->HasCustomSample());
}

}  // namespace
