#pragma once
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"

namespace effect_test {

constexpr double kTwoPi = 2 * std::numbers::pi;
// The single-precision 1e-15 every input sample receives.
constexpr double kOffset = double(1e-15f);

// An effect initialised for `channels` at `rate`, as the adapter does it.
inline std::unique_ptr<HalvaneAudioEffectPlugin> MakeEffect(int channels, double rate) {
    auto effect = std::make_unique<HalvaneAudioEffectPlugin>();
    effect->InitProcessing(channels, rate);
    effect->OnParametersChanged();
    effect->SnapParameters();
    return effect;
}

// Channel buffers of equal length.
struct Buffers {
    Buffers(int channels, int length, float fill = 0.5f)
        : data(std::size_t(channels), std::vector<float>(std::size_t(length), fill)) {
        for (auto& channel : data) pointers.push_back(channel.data());
    }
    float** Pointers() { return pointers.data(); }
    std::vector<std::vector<float>> data;
    std::vector<float*> pointers;
};

inline void Process(HalvaneAudioEffectPlugin& effect, Buffers& in, Buffers& out, int n) {
    effect.Process(nullptr, in.Pointers(), out.Pointers(), n);
}

// The effect's waveforms are rebuilt in the background; this finishes the
// rebuilds of all edits so far, so that the next block takes them up.
inline void FinishRebuilds(HalvaneAudioEffectPlugin& effect) {
    for (int i = 0; i < HalvaneAudioEffectPlugin::kOscillators; ++i) effect.Generator(i).Rebuild();
}

// The tables in use after the edits so far, as the next block would see them.
inline void TakeUpWaveforms(HalvaneAudioEffectPlugin& effect) {
    FinishRebuilds(effect);
    for (int i = 0; i < HalvaneAudioEffectPlugin::kOscillators; ++i) effect.Generator(i).UpdateIfChanged();
}

}  // namespace effect_test
