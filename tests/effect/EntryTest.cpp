#include <gtest/gtest.h>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"

namespace {

TEST(EffectEntry, NullHandleWithOpcode7CreatesAndAnExistingHandleIsReturned) {
    std::int64_t block[8] = {};
    void* created = reinterpret_cast<void*>(HalvaneAudioEffectPluginInterface(nullptr, 7, block));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(HalvaneAudioEffectPluginInterface(created, 7, block)), created);

    auto* parameters = reinterpret_cast<KPluginParameters*>(HalvaneAudioEffectPluginInterface(created, 2, block));
    ASSERT_EQ(parameters->recordCount, 11);
    EXPECT_EQ(parameters->specialItemCount, 2);
    EXPECT_EQ(parameters->specialItems[1].name.ToUTF8(), "Oscillator 2 shape");

    double rate = 48000;
    std::int64_t init[8] = {0, 2, 0, reinterpret_cast<std::int64_t>(&rate)};
    EXPECT_EQ(HalvaneAudioEffectPluginInterface(created, 100, init), 0);
    EXPECT_EQ(HalvaneAudioEffectPluginInterface(created, 102, block), 1);
    EXPECT_EQ(HalvaneAudioEffectPluginInterface(created, 103, block), 0);
    EXPECT_EQ(HalvaneAudioEffectPluginInterface(created, 55, block), -1);
    EXPECT_EQ(HalvaneAudioEffectPluginInterface(created, 1, block), 0);  // destroys
}

struct RecordRow {
    const char* name;
    const char* identifier;
    KParameterType type;
    std::uint8_t flags;
};

TEST(EffectEntry, RecordsFollowTheDeclaredTable) {
    HalvaneAudioEffectPlugin effect;
    using F = KParameterType;
    constexpr std::uint8_t kDefault = 0x60, kSwitch = 0x64, kDirect = 0x40, kPhase = 0x48;
    const RecordRow rows[] = {
        {"Modulate oscillators", "modulate", F::OnOff, kDefault},
        {"Oscillator 1", "", F::GroupHeader, kDefault},
        {"Enable", "enable0", F::OnOff, kSwitch},
        {"Depth", "depth0", F::Float, kDirect},
        {"Frequency", "frequency0", F::Float, kDefault},
        {"Phase", "phase0", F::Float, kPhase},
        {"Oscillator 2", "", F::GroupHeader, kDefault},
        {"Enable", "enable1", F::OnOff, kSwitch},
        {"Depth", "depth1", F::Float, kDirect},
        {"Frequency", "frequency1", F::Float, kDefault},
        {"Phase", "phase1", F::Float, kPhase},
    };
    for (int i = 0; i < 11; ++i) {
        const KParameterRecord& record = effect.Record(i);
        EXPECT_EQ(record.name.ToUTF8(), rows[i].name) << i;
        EXPECT_EQ(record.identifier.ToUTF8(), rows[i].identifier) << i;
        EXPECT_EQ(record.type, rows[i].type) << i;
        EXPECT_EQ(record.flags, rows[i].flags) << i;
    }
    EXPECT_EQ(effect.Record(2).onOff.value, 1);
    EXPECT_EQ(effect.Record(7).onOff.value, 0);
    EXPECT_DOUBLE_EQ(effect.Record(4).floating.minimum, 1.3010299956639813);
    EXPECT_DOUBLE_EQ(effect.Record(4).floating.maximum, 4.301029995663981);
    EXPECT_DOUBLE_EQ(effect.Record(4).floating.defaultValue, 1.6989700043360187);
    EXPECT_DOUBLE_EQ(effect.Record(5).floating.value, 0.1);
    EXPECT_EQ(effect.Record(6).description.ToUTF8(),
              "<name>Oscillator 2 panel</name> provides parameters of an oscillator used by ring modulator.");
    EXPECT_EQ(effect.Record(9).description.ToUTF8(),
              "<name>Frequency</name> defines speed of the tremolo low frequency oscilltor.");
}

}  // namespace
