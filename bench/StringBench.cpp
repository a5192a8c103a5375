#include <benchmark/benchmark.h>

#include "foundation/text/KFormatter.h"
#include "foundation/text/KString.h"

namespace {

// The display text of a float parameter: compile the template, feed the
// value, take the text.
void BM_FormatFloatParameterText(benchmark::State& state) {
    const KString pattern = "{0;.2} Hz";
    double value = 440.0;
    for (auto _ : state) {
        KString text = KFormatter(pattern) << value;
        benchmark::DoNotOptimize(text);
        value += 0.01;
    }
}
BENCHMARK(BM_FormatFloatParameterText);

// Copying a shared string costs one atomic increment, destroying it one
// atomic decrement.
void BM_CopyAndDestroySharedString(benchmark::State& state) {
    const KString original = KString::FromUTF8("Oscillator 1 frequency");
    for (auto _ : state) {
        KString copy = original;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyAndDestroySharedString);

}  // namespace
