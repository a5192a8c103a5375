#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/core/KAudioPluginAdapter.h"
#include "plugin/pipeline/KChannelModes.h"
#include "presets/state/StateTestSupport.h"

namespace active_test {

using namespace state_test;
using Effect = HalvaneAudioEffectPlugin;

// Host indices of the first oscillator's records (records come first, in
// record order).
constexpr int kDepth0 = Effect::RecordOf(0, Effect::kDepth);
constexpr int kFrequency0 = Effect::RecordOf(0, Effect::kFrequency);

// Counts what the plug-in tells its host.
class CountingHost final : public KAudioPluginAdapter {
public:
    void SendAutomation(std::int32_t index, double value) override { automation.emplace_back(index, value); }
    void SendBypassAutomation(bool) override {}
    void GenerateMIDIEvent(std::int32_t, const std::uint8_t*) override {}
    void ReportLatency() override {}
    bool ChangeEditorSize(EditorSize) override { return false; }
    void ParametersChanged() override { ++parametersChanged; }

    std::vector<std::pair<int, double>> automation;
    std::atomic<int> parametersChanged{0};
};

// The compact text of an item under a fixed name, to compare settings.
inline std::string Text(const KXMLItem& item) {
    KXMLDocument document;
    KXMLItem::DeepCopy(document.Root(), item);
    document.Root().SetName("settings");
    KMemoryStream text;
    document.Write(text, true);
    return std::string(reinterpret_cast<const char*>(text.Data()), std::size_t(text.Size()));
}

inline std::string StoredSettings(KAudioEffectPluginToAudioPluginAdapter& plugin) {
    KXMLItem item;
    KStorageContext store(item, true);
    plugin.StoreSettings(store);
    return Text(item);
}

// Switches as the editor does: the request, then the switch on this thread.
inline void SwitchTo(KQuenlorAudioEffectPlugin& plugin, int slot) {
    plugin.RequestActivePreset(slot);
    plugin.ApplyActivePresetRequest();
}

// What lies around a preset's settings, which loading one leaves alone: a
// host-side set-up away from the defaults (slot 2 in use, upsampling 4,
// mid/side, bypass) and the eight slots as they were.
struct SetUpAroundPresets {
    explicit SetUpAroundPresets(KQuenlorAudioEffectPlugin& plugin) {
        SwitchTo(plugin, 2);
        plugin.SetUpsamplingFactor(4);
        plugin.SetChannelMode(KChannelModes::MidSide);
        plugin.SetBypass(true);
        for (int i = 0; i < KActivePresetSlots::kCount; ++i) slots.push_back(Text(plugin.ActivePresets().Slot(i)));
    }
    void ExpectKept(KQuenlorAudioEffectPlugin& plugin) const {
        EXPECT_EQ(plugin.PipelineSettings().upsampling, 4);
        EXPECT_EQ(plugin.PipelineSettings().channelMode, KChannelModes::MidSide);
        EXPECT_TRUE(plugin.Bypass());
        EXPECT_EQ(plugin.ActivePresetIndex(), 2);
        for (int i = 0; i < KActivePresetSlots::kCount; ++i)
            EXPECT_EQ(Text(plugin.ActivePresets().Slot(i)), slots[std::size_t(i)]) << "slot " << i;
    }
    std::vector<std::string> slots;
};

}  // namespace active_test
