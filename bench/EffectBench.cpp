// The ring modulator's Process against a reference loop that does only what
// the effect must do per sample: phase accumulation, the interpolated table
// lookup and the dry/wet multiply in double precision.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"

namespace {

constexpr int kBlock = 1024;
constexpr int kChannels = 2;

struct Buffers {
    std::vector<float> data[kChannels];
    float* pointers[kChannels];
    Buffers() {
        for (int c = 0; c < kChannels; ++c) {
            data[c].assign(kBlock, 0.25f);
            pointers[c] = data[c].data();
        }
    }
};

void BM_EffectProcess(benchmark::State& state) {
    HalvaneAudioEffectPlugin effect;
    effect.InitProcessing(kChannels, 48000);
    effect.OnParametersChanged();
    effect.SnapParameters();
    Buffers in, out;
    for (auto _ : state) {
        effect.Process(nullptr, in.pointers, out.pointers, kBlock);
        benchmark::DoNotOptimize(out.data[0].data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock * kChannels);
}
BENCHMARK(BM_EffectProcess);

void BM_ReferenceLoop(benchmark::State& state) {
    std::vector<float> table(8193);
    for (int j = 0; j <= 8192; ++j) table[std::size_t(j)] = float(std::sin(2 * M_PI * j / 8192));
    const double increment = 50.0 / 48000, offset = 0.1, depth = 1.0;
    double phase = 0;
    Buffers in, out;
    for (auto _ : state) {
        for (int s = 0; s < kBlock; ++s) {
            double p = phase;
            phase += increment;
            for (int c = 0; c < kChannels; ++c) {
                const double x = p * 8192;
                const auto whole = static_cast<long long>(x);
                const float f = float(x - double(whole));
                const long long i = whole % 8192;
                const double g = double((1.0f - f) * table[std::size_t(i)] + f * table[std::size_t(i) + 1]) * depth;
                p += offset;
                const double dry = in.data[c][std::size_t(s)];
                out.data[c][std::size_t(s)] = float((1 - depth) * dry + dry * g);
            }
        }
        phase -= std::trunc(phase);
        benchmark::DoNotOptimize(out.data[0].data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock * kChannels);
}
BENCHMARK(BM_ReferenceLoop);

}  // namespace
