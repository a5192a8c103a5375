#include <gtest/gtest.h>

#include "foundation/xml/KStorageContext.h"

#include "effect/EffectTestSupport.h"
#include "foundation/core/Random.h"
#include "foundation/xml/KXMLItem.h"

namespace {

using namespace effect_test;
using Effect = HalvaneAudioEffectPlugin;

// Two blocks of constant input, a change of waveform between them, built
// before the second block; returns the second block of channel 0.
template <class Change>
std::vector<float> SecondBlockAfter(Change change) {
    auto effect = MakeEffect(2, 48000);
    Buffers in(2, 64), out(2, 64);
    Process(*effect, in, out, 64);
    change(*effect);
    FinishRebuilds(*effect);
    Process(*effect, in, out, 64);
    return out.data[0];
}

// A table from loading or resetting a waveform must fade in exactly as the
// same table reached by an edit does.
TEST(WaveformChangeFades, LoadedAndResetWaveformsFadeLikeEditedOnes) {
    using Control = KSignalGenerator::Control;
    const auto edited = SecondBlockAfter([](Effect& e) { e.Generator(0).Set(Control::ShapePosition, 0); });
    const auto loaded = SecondBlockAfter([](Effect& e) {
        KXMLItem shape("Shape0");
        shape.SetAttribute("value", "0");
        KStorageContext loading(shape, false);
        e.Generator(0).Store(loading);
    });
    EXPECT_EQ(loaded, edited);

    const auto smoothed = [](Effect& e) {
        e.Generator(0).Set(Control::Smoothness, 1);
        TakeUpWaveforms(e);
    };
    const auto unsmoothed = SecondBlockAfter([&](Effect& e) {
        smoothed(e);
        e.Generator(0).Set(Control::Smoothness, 0);
    });
    const auto reset = SecondBlockAfter([&](Effect& e) {
        smoothed(e);
        e.Generator(0).Reset();
    });
    EXPECT_EQ(reset, unsmoothed);
}

// The fade starts from the linear continuation of the last two samples: the
// first sample after a randomisation lies within 1/44100 of the jump from it.
TEST(WaveformChangeFades, RandomizedWaveformContinuesTheSignal) {
    auto effect = MakeEffect(1, 48000);
    Buffers in(1, 64), out(1, 64);
    Process(*effect, in, out, 64);
    const double continuation = 2.0 * out.data[0][63] - out.data[0][62];
    KRandom::Seed(12345);
    effect->Generator(0).RandomizeShape(1.0);
    Process(*effect, in, out, 64);
    EXPECT_NEAR(out.data[0][0], continuation, 1e-4);
}

TEST(WaveformChangeFades, RandomizingTheEffectRequestsAFullUpdate) {
    auto effect = MakeEffect(1, 48000);
    effect->GetParameters().SetFullUpdatePending(false);
    KRandom::Seed(99);
    effect->Randomize();
    EXPECT_TRUE(effect->GetParameters().FullUpdatePending());
}

}  // namespace
