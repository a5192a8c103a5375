#include <gtest/gtest.h>

#include <random>

#include "foundation/core/Random.h"
#include "presets/state/StateTestSupport.h"

namespace {

using namespace state_test;

// Every setting a user can reach, drawn at random: host parameters
// (records and the generators' wrappers), waveforms in both modes, the
// pipeline settings and the preset selections.
void Randomise(KQuenlorAudioEffectPlugin& plugin, std::uint32_t seed) {
    std::mt19937 draw(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    KRandom::Seed(seed);
    for (int i = 0; i < plugin.GetParameterCount(); ++i) plugin.SetParameter(i, unit(draw));
    HalvaneAudioEffectPlugin& effect = EffectOf(plugin);
    for (int k = 0; k < HalvaneAudioEffectPlugin::kOscillators; ++k) {
        KSignalGenerator& generator = effect.Generator(k);
        generator.Randomize(1.0);
        if (draw() % 2) generator.SetMode(KSignalGenerator::Mode::Harmonics);
        if (draw() % 3 == 0) {
            std::vector<float> sample(KSignalGenerator::kTableLength);
            for (float& s : sample) s = float(unit(draw) * 2 - 1);
            generator.SetCustomSample(sample.data());
            generator.Set(KSignalGenerator::Control::CustomSampleDepth, unit(draw));
        }
        generator.UpdateIfChanged();
    }
    plugin.SetChannelMode(int(draw() % 8));
    plugin.SetSurroundChannelEnabled(int(draw() % 8), false);
    plugin.SetUpsamplingFactor(1 << (draw() % 4));
    plugin.SetHighQualityUpsampling(draw() % 2);
    plugin.SetAutomaticGainControl(draw() % 2);
    plugin.SetBypass(draw() % 2);
    plugin.SetMaxLFOBlockSize(int(1 + draw() % 1024));
    plugin.SetCurrentPresetIndex(int(draw() % 20) - 1);
    plugin.ActivePresets().SetCurrent(int(draw() % 8));
}

TEST(StateRoundTrip, EverySettingSurvivesSavingAndLoadingForManySeeds) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        auto source = MakePlugin(8);
        Randomise(*source, seed);
        const Bytes block = Save(*source);
        auto copy = MakePlugin(8);
        Load(*copy, block);
        ASSERT_EQ(Save(*copy), block) << "seed " << seed;
        EXPECT_EQ(copy->PipelineSettings().channelMode, source->PipelineSettings().channelMode);
        EXPECT_EQ(copy->PipelineSettings().upsampling, source->PipelineSettings().upsampling);
        EXPECT_EQ(copy->Bypass(), source->Bypass());
        // The records; a generator stores only the settings of its mode, so
        // its wrappers of the other mode keep their defaults.
        for (int i = 0; i < EffectOf(*source).RecordCount(); ++i)
            ASSERT_NEAR(copy->GetParameter(i), source->GetParameter(i), 1e-6) << "seed " << seed << " parameter " << i;
    }
}

// The loaded waveform is the saved one, sample for sample: the tables are
// rebuilt from the same settings.
TEST(StateRoundTrip, WaveformTablesAreRebuiltIdentically) {
    auto source = MakePlugin();
    Randomise(*source, 99);
    auto copy = MakePlugin();
    Load(*copy, Save(*source));
    for (int k = 0; k < HalvaneAudioEffectPlugin::kOscillators; ++k) {
        // Tables are built in the background and taken up by the next block.
        for (auto* plugin : {source.get(), copy.get()}) {
            EffectOf(*plugin).Generator(k).Rebuild();
            EffectOf(*plugin).Generator(k).UpdateIfChanged();
        }
        const float* expected = EffectOf(*source).Generator(k).Table();
        const float* loaded = EffectOf(*copy).Generator(k).Table();
        for (int j = 0; j < KSignalGenerator::kTableLength; ++j) ASSERT_EQ(loaded[j], expected[j]) << k << ":" << j;
    }
}

// A slot copy from a damaged block may hold units the UTF-8 writer drops:
// an encoded surrogate (ED A0 80 is U+D800), or a code above U+10FFFF (F7 BC
// 86 94), which decodes to two low surrogates. Saved once, such a state must
// load and save to the same bytes: the reader trims a text whose end the
// dropped units had hidden, and a name made of them alone cannot be read.
TEST(StateRoundTrip, ASlotCopyWithUnitsTheWriterDropsSavesToAFixedPoint) {
    const std::string damaged[] = {
        "<settings><Preset1 parameterdepth0=\"0.5\">x\x01\xED\xA0\x80</Preset1></settings>",
        "<settings><Preset1 parameterdepth0=\"0.5\">x \x02\xF7\xBC\x86\x94</Preset1></settings>",
        "<settings><Preset2><\xED\xA0\x80 a=\"1\"/></Preset2></settings>",
        "<settings><Preset3 \xED\xA0\x80=\"1\" parameterdepth1=\"0.25\"/></settings>",
        // Without the surrogate the element would be written as "<?x", which
        // reads as a processing instruction: the saved block would not load.
        "<settings><Preset4><\xED\xB0\x80?x a=\"1\">t</\xED\xB0\x80?x><kept/></Preset4></settings>",
    };
    for (const std::string& text : damaged) {
        auto first = MakePlugin();
        Load(*first, text);
        const Bytes saved = Save(*first);
        auto second = MakePlugin();
        Load(*second, saved);
        EXPECT_EQ(Save(*second), saved) << text;
    }
    // What the writer keeps of the first: the text without the surrogate,
    // then trimmed as the reader trims it.
    auto plugin = MakePlugin();
    Load(*plugin, damaged[0]);
    EXPECT_EQ(plugin->ActivePresets().Slot(1).Text().ToUTF8(), "x");
    EXPECT_EQ(plugin->ActivePresets().Slot(1).Attribute("parameterdepth0", KString()).ToUTF8(), "0.5");
    Load(*plugin, damaged[4]);
    ASSERT_EQ(plugin->ActivePresets().Slot(4).SubItemCount(), 1);
    EXPECT_EQ(plugin->ActivePresets().Slot(4).SubItemAt(0).Name().ToUTF8(), "kept");
    // Only the surrogate goes: the writer would take the "b" after it too.
    Load(*plugin, "<settings><Preset1>a\xED\xA0\x80" "b</Preset1></settings>");
    EXPECT_EQ(plugin->ActivePresets().Slot(1).Text().ToUTF8(), "ab");
}

TEST(StateRoundTrip, ATextFieldWithUnitsTheWriterDropsLoadsAsItWillBeSaved) {
    // An encoded surrogate right before a closing quote: written as loaded,
    // it would take the quote with it and the saved block would not read.
    const std::string damaged =
        "<settings><MultiParameters><MultiParameter0 Name=\"X\xED\xA0\x80\" Group=\"\xED\xA0\x80G\" Enabled=\"1\">"
        "<Parameter ParameterName=\"parameterdepth0\" ParameterEnabled=\"1\"/></MultiParameter0></MultiParameters></settings>";
    auto first = MakePlugin();
    Load(*first, damaged);
    EXPECT_EQ(first->MultiParameters()[0].Name().ToUTF16(), u"X");
    EXPECT_EQ(first->MultiParameters()[0].Group().ToUTF16(), u"G");
    const Bytes saved = Save(*first);
    ASSERT_TRUE(Document(saved)->ParsedCompletely());
    auto second = MakePlugin();
    Load(*second, saved);
    EXPECT_EQ(second->MultiParameters()[0].Name().ToUTF16(), u"X");
    EXPECT_EQ(Save(*second), saved);
}

}  // namespace
