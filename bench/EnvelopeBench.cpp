#include <benchmark/benchmark.h>

#include <vector>

#include "signal/envelope/KEnvelope.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/envelope/KEnvelopeItems.h"
#include "signal/envelope/KEnvelopeItemsSSE.h"

namespace {

using Computer = KEnvelopeComputer;
using Type = KEnvelopeSegmentType;

constexpr int kTableSize = 8192;

// Sixteen points of mixed curve types, every corner rounded off.
KEnvelope SixteenSmoothedPoints() {
    constexpr Type kTypes[] = {Type::FourthOrder, Type::Quadratic, Type::Bezier, Type::Double};
    std::vector<KEnvelope::Point> points;
    for (int i = 0; i < 16; ++i) {
        points.push_back({.x = i / 15.0,
                          .y = (i % 3 - 1) * 0.8,
                          .curvatureX = 0.2,
                          .curvature = (i % 2 ? 0.6 : -0.4),
                          .smoothingLeft = 0.5,
                          .type = kTypes[i % 4],
                          .smoothingType = i % 2 ? KEnvelope::SmoothingType::Cubic : KEnvelope::SmoothingType::Tangents});
    }
    KEnvelope envelope({0, 1}, {-1, 1});
    envelope.SetPoints(points);
    return envelope;
}

// What a signal generator does per rebuild for its custom morph table.
void BM_EnvelopeBuildAndFill16SmoothedPoints(benchmark::State& state) {
    const KEnvelope envelope = SixteenSmoothedPoints();
    Computer computer;
    std::vector<float> table(kTableSize);
    for (auto _ : state) {
        computer.Build(envelope);
        computer.Fill(table.data(), 0, 1.0 / kTableSize, kTableSize);
        benchmark::DoNotOptimize(table.data());
    }
    state.SetItemsProcessed(state.iterations() * kTableSize);
}
BENCHMARK(BM_EnvelopeBuildAndFill16SmoothedPoints);

void BM_EnvelopeBuild16SmoothedPoints(benchmark::State& state) {
    const KEnvelope envelope = SixteenSmoothedPoints();
    Computer computer;
    for (auto _ : state) {
        computer.Build(envelope);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EnvelopeBuild16SmoothedPoints);

// One item filling a whole table: the per-sample cost of each item kind.
template <typename Sample>
void FillTable(benchmark::State& state, const Computer::Item& item) {
    std::vector<Sample> out(kTableSize);
    for (auto _ : state) {
        if constexpr (sizeof(Sample) == sizeof(float))
            item.Fill(out.data(), 0, 1.0 / kTableSize, 0, kTableSize);
        else
            item.Fill64(out.data(), 0, 1.0 / kTableSize, 0, kTableSize);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kTableSize);
}

const Computer::Vertex kP{0, -1};
const Computer::Vertex kQ{1, 1};

void BM_EnvelopeFillFourthOrder(benchmark::State& state) {
    FillTable<float>(state, Computer::ItemFourthOrder(kP, kQ, -0.5));
}
BENCHMARK(BM_EnvelopeFillFourthOrder);

void BM_EnvelopeFill64FourthOrder(benchmark::State& state) {
    FillTable<double>(state, Computer::ItemFourthOrder(kP, kQ, -0.5));
}
BENCHMARK(BM_EnvelopeFill64FourthOrder);

void BM_EnvelopeFillQuadratic(benchmark::State& state) { FillTable<float>(state, Computer::ItemQuadratic(kP, kQ, 0.5)); }
BENCHMARK(BM_EnvelopeFillQuadratic);

void BM_EnvelopeFillCubic(benchmark::State& state) { FillTable<float>(state, Computer::ItemCubic(kP, 1, kQ, -1)); }
BENCHMARK(BM_EnvelopeFillCubic);

void BM_EnvelopeFillBezier(benchmark::State& state) {
    FillTable<float>(state, Computer::ItemBezier(kP, {0.3, 0.8}, kQ));
}
BENCHMARK(BM_EnvelopeFillBezier);

// The vector variants, to set against the plain loops above.
void BM_EnvelopeFillFourthOrderSSE(benchmark::State& state) {
    FillTable<float>(state, Computer::ItemFourthOrderSSE(kP, kQ, -0.5));
}
BENCHMARK(BM_EnvelopeFillFourthOrderSSE);

void BM_EnvelopeFill64FourthOrderSSE(benchmark::State& state) {
    FillTable<double>(state, Computer::ItemFourthOrderSSE(kP, kQ, -0.5));
}
BENCHMARK(BM_EnvelopeFill64FourthOrderSSE);

void BM_EnvelopeFillQuadraticSSE(benchmark::State& state) {
    FillTable<float>(state, Computer::ItemQuadraticSSE(kP, kQ, 0.5));
}
BENCHMARK(BM_EnvelopeFillQuadraticSSE);

void BM_EnvelopeFillCubicSSE(benchmark::State& state) { FillTable<float>(state, Computer::ItemCubicSSE(kP, 1, kQ, -1)); }
BENCHMARK(BM_EnvelopeFillCubicSSE);

void BM_EnvelopeFillBezierSSE(benchmark::State& state) {
    FillTable<float>(state, Computer::ItemBezierSSE(kP, {0.3, 0.8}, kQ));
}
BENCHMARK(BM_EnvelopeFillBezierSSE);

void BM_EnvelopeFillExponencial(benchmark::State& state) {
    FillTable<float>(state, Computer::ItemExponencial(kP, kQ, 0.5));
}
BENCHMARK(BM_EnvelopeFillExponencial);

void BM_EnvelopeFillStairs(benchmark::State& state) { FillTable<float>(state, Computer::ItemStairs(kP, kQ, 0.5)); }
BENCHMARK(BM_EnvelopeFillStairs);

void BM_EnvelopeFillSines(benchmark::State& state) { FillTable<float>(state, Computer::ItemSines(kP, kQ, 0.5)); }
BENCHMARK(BM_EnvelopeFillSines);

}  // namespace
