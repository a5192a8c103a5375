#include <benchmark/benchmark.h>

#include "foundation/threading/KERWLock.h"
#include "foundation/threading/KLock.h"

namespace {

// The ordinary path: one thread takes and leaves a free lock.
void BM_KLockUncontended(benchmark::State& state) {
    KLock lock;
    for (auto _ : state) {
        KScopedLock hold(lock);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KLockUncontended);

// A read hold on a free reader/writer lock. Without the no-yield flag every
// release that frees the lock gives up the time slice, which dominates.
void BM_KERWLockReadUncontended(benchmark::State& state) {
    KERWLock lock;
    const std::uint32_t releaseMode = KERWLock::kRead | std::uint32_t(state.range(0));
    for (auto _ : state) {
        lock.Acquire(KERWLock::kRead);
        benchmark::ClobberMemory();
        lock.Release(releaseMode);
    }
}
BENCHMARK(BM_KERWLockReadUncontended)->Arg(0)->Arg(KSynchronizationObject::kNoYieldOnRelease);

}  // namespace
