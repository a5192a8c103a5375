// Process against the ring modulation written out plainly: sample by sample,
// channel by channel, in place on a copy of the input. Faster forms of the
// loops must give the same output bit for bit.
#include <gtest/gtest.h>

#include "effect/EffectTestSupport.h"

namespace {

using namespace effect_test;
using Effect = HalvaneAudioEffectPlugin;
using Channels = std::vector<std::vector<float>>;

struct Glide {
    double depth, step;
};

// The model reads the effect's state before the block; it changes nothing.
class PlainRingModulator {
public:
    explicit PlainRingModulator(Effect& effect) : m_effect(effect) {}

    Channels Block(const Channels& input, int n) const {
        Channels y = input;
        const int channels = int(input.size());
        const bool compound = On(Effect::kModulate) && Enabled(0) && Enabled(1);
        if (compound) {
            const Glide g1 = DepthGlide(0, n), g2 = DepthGlide(1, n);
            double d = (g2.depth + g1.depth) * 0.5;
            const double step = (g2.step + g1.step) * 0.5;
            double phase1 = m_effect.OscillatorPhase(0), phase2 = m_effect.OscillatorPhase(1);
            for (int s = 0; s < n; ++s) {
                double p1 = phase1, p2 = phase2;
                phase1 += m_effect.PhaseIncrement(0);
                phase2 += m_effect.PhaseIncrement(1);
                for (int c = 0; c < channels; ++c) {
                    const double g = m_effect.Generator(1).Sample(p2) + m_effect.Generator(0).Sample(p1);
                    p1 += Offset(0);
                    p2 += Offset(1);
                    const double x = double(y[c][s]) + kOffset;
                    y[c][s] = float(x * g * d + (1 - d) * x);
                }
                d += step;
            }
            return y;
        }
        for (int i = 0; i < 2; ++i) {
            if (!Enabled(i)) continue;
            Glide glide = DepthGlide(i, n);
            double phase = m_effect.OscillatorPhase(i);
            for (int s = 0; s < n; ++s) {
                double p = phase;
                phase += m_effect.PhaseIncrement(i);
                for (int c = 0; c < channels; ++c) {
                    const double g = m_effect.Generator(i).Sample(p) * glide.depth;
                    p += Offset(i);
                    const double x = double(y[c][s]) + kOffset;
                    y[c][s] = float((1 - glide.depth) * x + x * g);
                }
                glide.depth += glide.step;
            }
        }
        return y;
    }

private:
    bool On(int record) const { return m_effect.Record(record).onOff.value != 0; }
    bool Enabled(int i) const { return On(Effect::RecordOf(i, Effect::kEnable)); }
    double Offset(int i) const { return m_effect.Record(Effect::RecordOf(i, Effect::kPhase)).WorkingFloat(); }
    Glide DepthGlide(int i, int n) const {
        const auto& depth = m_effect.Record(Effect::RecordOf(i, Effect::kDepth)).floating;
        if (std::fabs(depth.value - depth.running) < 1e-50) return {depth.value, 0};
        return {depth.running, (depth.value - depth.running) / n};
    }

    Effect& m_effect;
};

// An uneven signal, different per channel.
Buffers Signal(int channels, int n, int seed) {
    Buffers buffers(channels, n);
    for (int c = 0; c < channels; ++c)
        for (int s = 0; s < n; ++s) buffers.data[c][s] = float(std::sin(0.37 * s + c + seed) * (0.9 - 0.1 * c));
    return buffers;
}

// Both oscillators enabled on different shapes, phases and frequencies;
// smoothing off, since the model has no fades.
std::unique_ptr<Effect> BusyEffect(int channels) {
    auto effect = MakeEffect(channels, 44100);
    static KProcessingSettings noSmoothing;
    noSmoothing.smoothing = false;
    effect->GetParameters().processingSettings = &noSmoothing;
    effect->Record(Effect::RecordOf(1, Effect::kEnable)).onOff.value = 1;
    effect->Record(Effect::RecordOf(0, Effect::kPhase)).floating.value = 0.37;
    effect->Record(Effect::RecordOf(1, Effect::kPhase)).floating.value = 0.81;
    effect->Record(Effect::RecordOf(1, Effect::kFrequency)).floating.value = std::log10(3170.0);
    effect->Generator(0).Set(KSignalGenerator::Control::ShapePosition, 3.3);
    effect->Generator(1).Set(KSignalGenerator::Control::ShapePosition, 7.7);
    TakeUpWaveforms(*effect);
    effect->OnParametersChanged();
    return effect;
}

// Blocks in separate and compound mode, with depth glides between them.
void ExpectPlainResults(int channels, bool inPlace) {
    auto effect = BusyEffect(channels);
    const PlainRingModulator model(*effect);
    const int lengths[] = {64, 1, 333, 128};
    for (int block = 0; block < 8; ++block) {
        const int n = lengths[block % 4];
        effect->Record(Effect::kModulate).onOff.value = block >= 4;
        effect->Record(Effect::RecordOf(block % 2, Effect::kDepth)).floating.value = 0.1 * (block + 1);
        Buffers in = Signal(channels, n, block);
        const Channels expected = model.Block(in.data, n);
        Buffers out(channels, n, 7.0f);
        if (inPlace) Process(*effect, in, in, n);
        else Process(*effect, in, out, n);
        ASSERT_EQ(inPlace ? in.data : out.data, expected) << channels << " channels, block " << block;
    }
}

TEST(ProcessExactness, MatchesThePlainLoopsForEveryChannelCount) {
    for (int channels : {1, 2, 3, 8}) ExpectPlainResults(channels, false);
}

TEST(ProcessExactness, MatchesThePlainLoopsInPlace) {
    for (int channels : {1, 2, 5}) ExpectPlainResults(channels, true);
}

TEST(ProcessExactness, WithNoOscillatorTheInputIsCopied) {
    auto effect = BusyEffect(2);
    effect->Record(Effect::RecordOf(0, Effect::kEnable)).onOff.value = 0;
    effect->Record(Effect::RecordOf(1, Effect::kEnable)).onOff.value = 0;
    Buffers in = Signal(2, 50, 0), out(2, 50, 7.0f);
    Process(*effect, in, out, 50);
    EXPECT_EQ(out.data, in.data);
}

}  // namespace
