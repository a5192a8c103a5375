#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "hosts/common/KPluginCreation.h"

namespace {

using Control = KSignalGenerator::Control;

struct PluginFixture : ::testing::Test {
    std::unique_ptr<KQuenlorAudioEffectPlugin> plugin = KCreatePluginObject();
    HalvaneAudioEffectPlugin& Effect() { return *static_cast<HalvaneAudioEffectPlugin*>(plugin->Effect()); }
    int Index(const char* id) { return plugin->FindParameter(KString::FromBytes(id)); }
};

// Records, the generators' wrappers, the four multiparameters (49 each),
// then the MIDI slots' parameters (32 controllers with 3, 32 note
// controllers with 2).
TEST_F(PluginFixture, RecordsThenSixWrappersPerGeneratorThenMultiParametersThenMIDI) {
    EXPECT_EQ(plugin->GetParameterCount(), 11 + 2 * 224 + 4 * 49 + 32 * 3 + 32 * 2);
    EXPECT_EQ(plugin->GetParameterID(11 + 2 * 224).ToUTF8(), "MultiParameter1");
    EXPECT_EQ(plugin->GetParameterID(11 + 2 * 224 + 49 + 3).ToUTF8(), "MultiParameter2Range1");
    EXPECT_EQ(plugin->GetParameterID(11 + 2 * 224 + 4 * 49).ToUTF8(), "Controller 1 Value");
    EXPECT_EQ(plugin->GetParameterID(11).ToUTF8(), "Oscillator 1 shape Shape");
    EXPECT_EQ(plugin->GetParameterID(11 + 224).ToUTF8(), "Oscillator 2 shape Shape");
    EXPECT_EQ(plugin->GetParameterID(11 + 4).ToUTF8(), "Oscillator 1 shape Step sequencer Value 1");
    EXPECT_EQ(plugin->GetParameterID(11 + 4 + 32).ToUTF8(), "Oscillator 1 shape Step sequencer Shape 1");
    EXPECT_EQ(plugin->GetParameterID(11 + 68).ToUTF8(), "Oscillator 1 shape Transformations Phase");
    EXPECT_EQ(plugin->GetParameterID(11 + 72).ToUTF8(), "Oscillator 1 shape Shape harmonics Level 1");
    EXPECT_EQ(plugin->GetParameterID(11 + 86).ToUTF8(), "Oscillator 1 shape Generator - Harmonicity");
    EXPECT_EQ(plugin->GetParameterID(11 + 223).ToUTF8(), "Oscillator 1 shape Harmonics - Phase 64");
    std::set<std::string> ids;
    for (int i = 0; i < plugin->GetParameterCount(); ++i) ids.insert(plugin->GetParameterID(i).ToUTF8());
    EXPECT_EQ(int(ids.size()), plugin->GetParameterCount());  // every key is its own
}

// Every host parameter, whatever kind of adapter serves it: a value that is
// not a number changes nothing, and one beyond 0..1 reads back inside it.
TEST_F(PluginFixture, NoParameterTakesANaNOrReadsOutsideTheRange) {
    for (int i = 0; i < plugin->GetParameterCount(); ++i) {
        SCOPED_TRACE(plugin->GetParameterID(i).ToUTF8());
        const double before = plugin->GetParameter(i);
        plugin->SetParameter(i, std::nan(""));
        EXPECT_EQ(plugin->GetParameter(i), before);
        for (double beyond : {-0.5, 1.5}) {
            plugin->SetParameter(i, beyond);
            const double after = plugin->GetParameter(i);
            EXPECT_GE(after, 0.0);
            EXPECT_LE(after, 1.0);
        }
    }
}

TEST_F(PluginFixture, EffectParameterTextsAndTypedValues) {
    EXPECT_EQ(plugin->GetParameterValueName(3).ToUTF8(), "100.0%");
    EXPECT_EQ(plugin->GetParameterValueName(4).ToUTF8(), "50.0 Hz");
    EXPECT_EQ(plugin->GetParameterValueName(5).ToUTF8(), "36\xC2\xB0 (10.0%)");
    // A switch's host default is the middle of the range; its text is the record's own default.
    EXPECT_DOUBLE_EQ(plugin->GetParameterDefaultValue(0), 0.5);
    EXPECT_EQ(plugin->GetParameterDefaultValueName(0).ToUTF8(), "Off");
    EXPECT_EQ(plugin->GetParameterDefaultValueName(2).ToUTF8(), "On");
    EXPECT_EQ(plugin->GetParameterDefaultValueName(4).ToUTF8(), "50.0 Hz");

    auto typeIn = [&](int index, const char* text) {
        const KString typed = KString::FromBytes(text);
        plugin->SetParameter(index, plugin->ParseParameterValueName(index, typed));
    };
    typeIn(4, "440");
    EXPECT_NEAR(Effect().Record(4).floating.value, std::log10(440.0), 1e-12);
    typeIn(3, "25");
    EXPECT_NEAR(Effect().Record(3).floating.value, 0.25, 1e-12);
    typeIn(5, "90");
    EXPECT_NEAR(Effect().Record(5).floating.value, 0.25, 1e-12);
    typeIn(4, "0");
    EXPECT_NEAR(Effect().Record(4).floating.value, std::log10(440.0), 1e-12);
    typeIn(4, "-5");
    EXPECT_NEAR(Effect().Record(4).floating.value, std::log10(440.0), 1e-12);
    typeIn(4, "1000");
    EXPECT_NEAR(Effect().Record(4).floating.value, 3, 1e-12);
}

TEST_F(PluginFixture, WrappersMapHostValuesOntoGeneratorFields) {
    KSignalGenerator& generator = Effect().Generator(0);
    plugin->SetParameter(11, 0.4);  // shape position 15 * 0.4
    EXPECT_DOUBLE_EQ(generator.Get(Control::ShapePosition), 6);
    EXPECT_EQ(plugin->GetParameterValueNameFrom01(11, 5.3 / 15).ToUTF8(), "70% Sine, 30% Harmonics");
    EXPECT_NEAR(plugin->ParseParameterValueName(11, "7.5"), 0.5, 1e-12);

    const int firstType = Index("Oscillator 1 shape Step sequencer Shape 1");
    plugin->SetParameter(firstType, 0.5);  // 37 * 0.5 = 18.5 rounds up to 19
    EXPECT_EQ(generator.StepType(0), 19);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(firstType), 19.0 / 37);
    plugin->SetParameter(firstType, 1.0);  // 37 is held at 36
    EXPECT_EQ(generator.StepType(0), 36);

    const int skew = Index("Oscillator 1 shape Transformations Skew");
    plugin->SetParameter(skew, 0.75);
    EXPECT_DOUBLE_EQ(generator.Get(Control::Skew), 0.5);
    EXPECT_EQ(plugin->GetParameterValueName(skew).ToUTF8(), "50.00%");

    const int sharpen = Index("Oscillator 1 shape Post-processor - Sharpen");
    plugin->SetParameter(sharpen, 0.25);
    EXPECT_DOUBLE_EQ(generator.Get(Control::Sharpen), -0.5);

    const int level3 = Index("Oscillator 1 shape Harmonics - Level 3");
    plugin->SetParameter(level3, 0.8);
    EXPECT_FLOAT_EQ(generator.HarmonicMagnitude(2), 0.8f);
}

}  // namespace
