#include <gtest/gtest.h>

#include "effect/EffectTestSupport.h"
#include "support/AllocationCounter.h"

namespace {

using namespace effect_test;
using Effect = HalvaneAudioEffectPlugin;

// Sine tables are interpolated from 8192 points in single precision: within
// 1e-6 of the exact sine.
constexpr double kSineTolerance = 1e-6;

void SetFloat(Effect& effect, int oscillator, Effect::OscillatorRecord which, double value) {
    effect.Record(Effect::RecordOf(oscillator, which)).floating.value = value;
}
void SetOn(Effect& effect, int record, bool on) { effect.Record(record).onOff.value = on ? 1 : 0; }

TEST(RingModulator, NewInstanceModulatesWithTheFirstOscillatorOnly) {
    const double rate = 44100;
    auto effect = MakeEffect(2, rate);
    EXPECT_NEAR(effect->PhaseIncrement(0), 50 / rate, 1e-15);
    Buffers in(2, 256), out(2, 256, 0);
    Process(*effect, in, out, 256);
    for (int s = 0; s < 256; ++s) {
        const double phase = s * 50 / rate;
        for (int c = 0; c < 2; ++c) {
            const double x = 0.5 + kOffset;
            const double g = std::sin(kTwoPi * (phase + c * 0.1));  // channel 1 runs 0.1 cycle ahead
            ASSERT_NEAR(out.data[c][s], x * g, kSineTolerance) << "channel " << c << " sample " << s;
        }
    }
    EXPECT_NEAR(effect->OscillatorPhase(0), 256 * 50 / rate, 1e-12);
    EXPECT_EQ(effect->OscillatorPhase(1), 0.0);  // the disabled oscillator stands still
}

TEST(RingModulator, DepthZeroPassesTheInputPlusTheOffset) {
    auto effect = MakeEffect(1, 48000);
    SetFloat(*effect, 0, Effect::kDepth, 0);
    effect->SnapParameters();
    Buffers in(1, 32, 0.0f), out(1, 32, 9);
    Process(*effect, in, out, 32);
    for (float y : out.data[0]) EXPECT_EQ(y, 1e-15f);
}

TEST(RingModulator, ModulateWithOneOscillatorEqualsSeparateMode) {
    auto separate = MakeEffect(2, 44100);
    auto modulate = MakeEffect(2, 44100);
    SetOn(*modulate, Effect::kModulate, true);
    Buffers in(2, 128), a(2, 128), b(2, 128);
    Process(*separate, in, a, 128);
    Process(*modulate, in, b, 128);
    EXPECT_EQ(a.data, b.data);
}

TEST(RingModulator, CompoundModeUsesTheMeanDepthAndTheSumOfWaveforms) {
    const double rate = 44100;
    auto effect = MakeEffect(2, rate);
    SetOn(*effect, Effect::kModulate, true);
    SetOn(*effect, Effect::RecordOf(1, Effect::kEnable), true);
    SetFloat(*effect, 1, Effect::kFrequency, std::log10(200.0));
    SetFloat(*effect, 1, Effect::kDepth, 0.5);
    SetFloat(*effect, 1, Effect::kPhase, 0.25);
    effect->OnParametersChanged();
    effect->SnapParameters();
    Buffers in(2, 200), out(2, 200);
    Process(*effect, in, out, 200);
    const double d = (1.0 + 0.5) / 2;
    for (int s = 0; s < 200; ++s)
        for (int c = 0; c < 2; ++c) {
            const double g = std::sin(kTwoPi * (s * 50 / rate + c * 0.1)) + std::sin(kTwoPi * (s * 200 / rate + c * 0.25));
            const double x = 0.5 + kOffset;
            ASSERT_NEAR(out.data[c][s], x * g * d + (1 - d) * x, 2 * kSineTolerance);
        }
}

TEST(RingModulator, SeparateModeChainsBothOscillators) {
    const double rate = 44100;
    auto effect = MakeEffect(1, rate);
    SetOn(*effect, Effect::RecordOf(1, Effect::kEnable), true);
    SetFloat(*effect, 0, Effect::kDepth, 0.75);
    SetFloat(*effect, 1, Effect::kFrequency, std::log10(1000.0));
    SetFloat(*effect, 1, Effect::kDepth, 0.25);
    effect->OnParametersChanged();
    effect->SnapParameters();
    Buffers in(1, 100), out(1, 100);
    Process(*effect, in, out, 100);
    for (int s = 0; s < 100; ++s) {
        const double g1 = std::sin(kTwoPi * s * 50 / rate), g2 = std::sin(kTwoPi * s * 1000 / rate);
        const double x = 0.5 * (1 - 0.75 + 0.75 * g1) * (1 - 0.25 + 0.25 * g2);
        ASSERT_NEAR(out.data[0][s], x, 2 * kSineTolerance);
    }
}

TEST(RingModulator, PhaseOffsetsChannelsByMultiplesOfThePhase) {
    auto effect = MakeEffect(3, 44100);
    SetFloat(*effect, 0, Effect::kPhase, 0);
    Buffers in(3, 64), out(3, 64);
    Process(*effect, in, out, 64);
    EXPECT_EQ(out.data[0], out.data[1]);
    EXPECT_EQ(out.data[0], out.data[2]);

    auto half = MakeEffect(3, 44100);
    SetFloat(*half, 0, Effect::kPhase, 0.5);
    Buffers out2(3, 64);
    Process(*half, in, out2, 64);
    for (int s = 1; s < 64; ++s) {
        EXPECT_NEAR(out2.data[1][s], -out2.data[0][s], 2 * kSineTolerance);  // half a cycle later
        EXPECT_NEAR(out2.data[2][s], out2.data[0][s], 2 * kSineTolerance);   // a full cycle: same
    }
}

TEST(RingModulator, DepthGlidesLinearlyOverOneBlock) {
    const double rate = 44100;
    auto effect = MakeEffect(1, rate);
    SetFloat(*effect, 0, Effect::kDepth, 0);
    effect->SnapParameters();
    SetFloat(*effect, 0, Effect::kDepth, 1);
    Buffers in(1, 64), out(1, 64);
    Process(*effect, in, out, 64);
    for (int s = 0; s < 64; ++s) {
        const double d = s / 64.0;  // 0, 1/64, ..., 63/64
        const double x = 0.5 + kOffset;
        const double g = std::sin(kTwoPi * s * 50 / rate);
        ASSERT_NEAR(out.data[0][s], (1 - d) * x + x * g * d, kSineTolerance) << s;
    }
    Process(*effect, in, out, 64);
    for (int s = 0; s < 64; ++s)
        ASSERT_NEAR(out.data[0][s], (0.5 + kOffset) * std::sin(kTwoPi * (64 + s) * 50 / rate), kSineTolerance);
}

// The triangle of basic shape 1 is piecewise linear, so its interpolated
// table is exact up to float rounding.
double Triangle(double phase) {
    phase -= std::floor(phase);
    if (phase < 0.25) return 4 * phase;
    if (phase < 0.75) return 2 - 4 * phase;
    return 4 * phase - 4;
}

TEST(RingModulator, JumpSmootherFadesAWaveformChangeOver44100SamplesAtAnyRate) {
    const double rate = 96000;
    auto effect = MakeEffect(1, rate);
    Buffers in(1, 512, 1.0f), out(1, 512);
    Process(*effect, in, out, 512);
    const double y1 = out.data[0][511], y2 = out.data[0][510];

    effect->Generator(0).Set(KSignalGenerator::Control::ShapePosition, 1);  // sine -> triangle
    FinishRebuilds(*effect);
    std::vector<float> all;
    const double inc = 50 / rate;
    for (int block = 0; block < 100; ++block) {
        Process(*effect, in, out, 512);
        all.insert(all.end(), out.data[0].begin(), out.data[0].end());
    }
    auto raw = [&](int k) { return (1 + kOffset) * Triangle((512 + k) * inc); };
    const double jump = float(2 * float(y1) - float(y2) - float(raw(0)));
    EXPECT_NEAR(all[0], 2 * y1 - y2 - jump / 44100, 1e-5);
    EXPECT_NEAR(all[22049] - raw(22049), jump * 0.5, 1e-3 * std::fabs(jump) + 1e-5);
    EXPECT_EQ(all[44100], float(raw(44100)));  // the fade has ended
    EXPECT_EQ(all[44101], float(raw(44101)));
}

TEST(RingModulator, SmoothingFlagOffLeavesTheStep) {
    auto effect = MakeEffect(1, 44100);
    KProcessingSettings settings;
    settings.smoothing = false;
    effect->GetParameters().processingSettings = &settings;
    Buffers in(1, 64, 1.0f), out(1, 64);
    Process(*effect, in, out, 64);
    effect->Generator(0).Set(KSignalGenerator::Control::ShapePosition, 1);
    FinishRebuilds(*effect);
    Process(*effect, in, out, 64);
    EXPECT_NEAR(out.data[0][0], Triangle(64 * 50 / 44100.0), 1e-6);
}

// Waveforms are built in the background, but a run of blocks that starts
// with set-up (a render) starts with the waveforms edited before it.
TEST(RingModulator, ShapeEditedBeforeSetUpIsInUseFromTheFirstBlock) {
    auto effect = std::make_unique<Effect>();
    effect->Generator(0).Set(KSignalGenerator::Control::ShapePosition, 1);  // triangle
    effect->InitProcessing(1, 44100);
    effect->OnParametersChanged();
    effect->SnapParameters();
    KProcessingSettings settings;
    settings.smoothing = false;
    effect->GetParameters().processingSettings = &settings;
    Buffers in(1, 64, 1.0f), out(1, 64);
    Process(*effect, in, out, 64);
    for (int s = 0; s < 64; ++s) ASSERT_NEAR(out.data[0][s], Triangle(s * 50 / 44100.0), 1e-6) << s;
}

TEST(RingModulator, SkipAdvancesBothOscillatorsModuloOne) {
    auto effect = MakeEffect(1, 1000);
    effect->Record(Effect::RecordOf(1, Effect::kFrequency)).floating.value = std::log10(30.0);
    effect->OnParametersChanged();
    effect->Skip(1234);
    // 1234 * 50 / 1000 = 61.7 cycles; 1234 * 30 / 1000 = 37.02 cycles
    EXPECT_NEAR(effect->OscillatorPhase(0), 0.7, 1e-9);
    EXPECT_NEAR(effect->OscillatorPhase(1), 0.02, 1e-9);
}

TEST(RingModulator, EnableChangesMarkTheOscillatorsRecords) {
    auto effect = MakeEffect(2, 44100);
    auto marked = [&](int oscillator) {
        return (effect->Record(Effect::RecordOf(oscillator, Effect::kDepth)).flags2 & KParameterFlag2::OwnerEnabled) != 0;
    };
    EXPECT_TRUE(marked(0));
    EXPECT_FALSE(marked(1));
    int callbacks = 0;
    KPluginCallBlock block(reinterpret_cast<std::int64_t>(&callbacks),
                           reinterpret_cast<std::int64_t>(+[](void* counter, std::int32_t opcode, std::int64_t*) {
                               if (opcode == KPluginOpcode::GetParameters) ++*static_cast<int*>(counter);
                               return std::intptr_t(0);
                           }));
    effect->Dispatch(KPluginOpcode::SetEntryPoint, block.words);
    SetOn(*effect, Effect::RecordOf(1, Effect::kEnable), true);
    effect->OnParametersChanged();
    EXPECT_TRUE(marked(1));
    EXPECT_EQ(callbacks, 1);
    effect->OnParametersChanged();  // nothing changed: no callback
    EXPECT_EQ(callbacks, 1);
}

TEST(RingModulator, ProcessAllocatesNothingInSteadyState) {
    auto effect = MakeEffect(2, 44100);
    SetOn(*effect, Effect::RecordOf(1, Effect::kEnable), true);
    Buffers in(2, 1024), out(2, 1024);
    Process(*effect, in, out, 1024);
    std::size_t allocations = 0;
    for (int block = 0; block < 200; ++block) {
        if (block == 100) SetOn(*effect, Effect::kModulate, true);
        if (block % 50 == 25) effect->Generator(block % 2).Set(KSignalGenerator::Control::ShapePosition, block / 20.0);
        const std::size_t before = AllocationCounter::Count();
        Process(*effect, in, out, 1024);  // includes the waveform rebuilds
        allocations += AllocationCounter::Count() - before;
    }
    EXPECT_EQ(allocations, 0u);
}

}  // namespace
