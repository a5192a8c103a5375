#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "presets/state/StateTestSupport.h"

namespace {

using namespace state_test;
using Effect = HalvaneAudioEffectPlugin;

// What one processed sub-block saw of the settings.
struct Seen {
    double depth = 0, frequency = 0, shape = 0, internalRate = 0;
    std::uint8_t modulate = 0;
    bool operator==(const Seen&) const = default;
};

// Notes the settings each sub-block is processed with, from inside the
// processing the pipeline runs under the plug-in lock.
class KProbePlugin : public KQuenlorAudioEffectPlugin {
public:
    void Process(float** inputs, float** outputs, int sampleCount) override {
        if (m_seen.size() < m_seen.capacity()) m_seen.push_back(Now());
        KQuenlorAudioEffectPlugin::Process(inputs, outputs, sampleCount);
    }

    Seen Now() {
        using Ring = HalvaneAudioEffectPlugin;
        Ring& effect = EffectOf(*this);
        return {effect.Record(Ring::RecordOf(0, Ring::kDepth)).floating.value,
                effect.Record(Ring::RecordOf(0, Ring::kFrequency)).floating.value,
                effect.Generator(0).Get(KSignalGenerator::Control::ShapePosition), InternalSampleRate(),
                effect.Record(Ring::kModulate).onOff.value};
    }

    std::vector<Seen> m_seen;  // written by the audio thread only
};

struct Settings {
    Bytes block;
    Seen seen;
};

// Two states that differ in records, a waveform and the upsampling.
Settings MakeSettings(double depth, double frequency, double shape, int upsampling, bool modulate) {
    auto plugin = MakePlugin<KProbePlugin>();
    plugin->SetParameter(Effect::RecordOf(0, Effect::kDepth), depth);
    plugin->SetParameter(Effect::RecordOf(0, Effect::kFrequency), frequency);
    plugin->SetParameter(Effect::kModulate, modulate ? 1.0 : 0.0);
    EffectOf(*plugin).Generator(0).Set(KSignalGenerator::Control::ShapePosition, shape);
    plugin->SetUpsamplingFactor(upsampling);
    // What an instance holds after loading the block (values pass through
    // their 12-digit text).
    Settings settings{Save(*plugin), {}};
    auto loaded = MakePlugin<KProbePlugin>();
    Load(*loaded, settings.block);
    settings.seen = loaded->Now();
    return settings;
}

TEST(StateLoadWhileProcessing, EveryBlockSeesTheOldOrTheNewSettingsWhole) {
    const Settings a = MakeSettings(0.2, 0.1, 2, 1, false);
    const Settings b = MakeSettings(0.9, 0.8, 11, 2, true);
    ASSERT_NE(a.seen, b.seen);

    auto plugin = MakePlugin<KProbePlugin>();
    Load(*plugin, a.block);
    plugin->m_seen.reserve(200000);
    std::atomic<bool> loading{true};
    std::thread audio([&] {
        std::vector<float> in(256, 0.25f), left(256), right(256);
        float* inputs[] = {in.data(), in.data()};
        float* outputs[] = {left.data(), right.data()};
        while (loading.load()) plugin->ProcessBlock(inputs, outputs, 256, true);
    });
    for (int i = 0; i < 40; ++i) Load(*plugin, i % 2 ? a.block : b.block);
    loading.store(false);
    audio.join();

    ASSERT_FALSE(plugin->m_seen.empty());
    for (const Seen& seen : plugin->m_seen)
        ASSERT_TRUE(seen == a.seen || seen == b.seen) << "depth " << seen.depth << " frequency " << seen.frequency
                                                 << " shape " << seen.shape << " rate " << seen.internalRate;
    EXPECT_EQ(plugin->Now(), a.seen);  // the last load was A
}

}  // namespace
