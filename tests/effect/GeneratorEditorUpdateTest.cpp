#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

namespace {

struct GeneratorUpdates : ::testing::Test {
    GeneratorUpdates() { plugin.Initialize(&HalvaneAudioEffectPluginInterface); }
    // First indices of the adapters waiting for a redraw.
    std::vector<int> Pending() {
        std::vector<KAutomationAdapter*> adapters;
        plugin.TakePendingEditorUpdates(adapters);
        std::vector<int> indices;
        for (KAutomationAdapter* adapter : adapters) indices.push_back(adapter->FirstIndex());
        std::sort(indices.begin(), indices.end());
        return indices;
    }
    KAudioEffectPluginToAudioPluginAdapter plugin;
};

// The six wrappers of oscillator 1's generator start at its "Shape" host
// parameter: 4 shape controls, 32 step values, 32 step shapes, 4
// transformations, 14 shape harmonics, then the harmonics.
TEST_F(GeneratorUpdates, AGeneratorChangeRedrawsItsWrappersUnlessQuiet) {
    const int shape = plugin.FindParameter("Oscillator 1 shape Shape");
    ASSERT_GE(shape, 0);
    const std::vector<int> wrappers = {shape, shape + 4, shape + 36, shape + 68, shape + 72, shape + 86};
    Pending();

    plugin.SetParameter(shape + 1, 0.5);  // "Custom morph"
    EXPECT_EQ(Pending(), wrappers);
    plugin.SetParameter(shape + 1, 0.25, true);
    EXPECT_TRUE(Pending().empty());

    // An edit that does not come through a host parameter (the waveform
    // editor, loading) is announced the same way.
    auto* effect = static_cast<HalvaneAudioEffectPlugin*>(plugin.Effect());
    effect->Generator(0).Set(KSignalGenerator::Control::Phase, 0.5);
    EXPECT_EQ(Pending(), wrappers);
}

}  // namespace
