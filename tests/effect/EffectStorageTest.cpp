#include <gtest/gtest.h>

#include "foundation/xml/StorageTestSupport.h"
#include "effect/EffectTestSupport.h"
#include "foundation/xml/KXMLItem.h"
#include "foundation/core/Random.h"

namespace {

using namespace effect_test;
using Effect = HalvaneAudioEffectPlugin;
using Control = KSignalGenerator::Control;

TEST(EffectStorage, StoreThenLoadRestoresRecordsAndWaveforms) {
    Effect source;
    source.Record(Effect::RecordOf(0, Effect::kDepth)).floating.value = 0.3;
    source.Record(Effect::kModulate).onOff.value = 1;
    source.Generator(1).Set(Control::ShapePosition, 7.5);
    source.Generator(1).Set(Control::Skew, 0.25);
    TakeUpWaveforms(source);
    KXMLItem xml("settings");
    StoreInto(source, xml);
    ASSERT_NE(xml.FindSubItem("Shape0"), nullptr);
    ASSERT_NE(xml.FindSubItem("Shape1"), nullptr);

    Effect target;
    EXPECT_TRUE(LoadFrom(target, xml));
    TakeUpWaveforms(target);
    EXPECT_DOUBLE_EQ(target.Record(Effect::RecordOf(0, Effect::kDepth)).floating.value, 0.3);
    EXPECT_EQ(target.Record(Effect::kModulate).onOff.value, 1);
    EXPECT_DOUBLE_EQ(target.Generator(1).Get(Control::ShapePosition), 7.5);
    EXPECT_DOUBLE_EQ(target.Generator(1).Get(Control::Skew), 0.25);
    for (int j = 0; j <= KSignalGenerator::kTableLength; ++j)
        ASSERT_EQ(target.Generator(1).Table()[j], source.Generator(1).Table()[j]) << j;
}

TEST(EffectStorage, OlderStatesCarryTheShapePositionAsAnAttribute) {
    Effect effect;
    effect.Generator(0).Set(Control::EnvelopeDepth, 0.6);
    effect.Generator(1).Set(Control::ShapePosition, 9);
    KXMLItem xml("settings");
    xml.SetAttribute("Shape0", "0.25");
    EXPECT_TRUE(LoadFrom(effect, xml));
    EXPECT_DOUBLE_EQ(effect.Generator(0).Get(Control::ShapePosition), 0.25);
    EXPECT_DOUBLE_EQ(effect.Generator(0).Get(Control::EnvelopeDepth), 0);
    EXPECT_DOUBLE_EQ(effect.Generator(1).Get(Control::ShapePosition), 9);  // no attribute: unchanged
}

TEST(EffectStorage, RandomizeDrawsFrequenciesFromTheSquareOfTheDraw) {
    Effect effect;
    KRandom::Seed(777);
    effect.Randomize();
    // Replay the generator's draws independently: first the two shapes
    // (whatever they drew), then one draw per frequency.
    const std::uint32_t afterShapes = [] {
        Effect probe;
        KRandom::Seed(777);
        probe.KAudioEffectPlugin::Randomize();
        return KRandom::State();
    }();
    std::uint32_t state = afterShapes;
    auto draw = [&state] {
        state = state * 214013u + 2531011u;
        return double((state >> 16) & 0x7FFF) / 32767.0;
    };
    for (int i = 0; i < 2; ++i) {
        const KParameterRecord& frequency = effect.Record(Effect::RecordOf(i, Effect::kFrequency));
        const double r = draw();
        EXPECT_DOUBLE_EQ(frequency.floating.value,
                         frequency.floating.minimum + (frequency.floating.maximum - frequency.floating.minimum) * r * r);
    }
}

}  // namespace
