#pragma once
// What a run did, counted from every thread.
#include <atomic>
#include <cstdint>

struct KTortureCounters {
    std::atomic<std::uint64_t> hostCalls{0};  // calls into the plug-in
    std::atomic<std::uint64_t> blocks{0};
    std::atomic<std::uint64_t> frames{0};
    std::atomic<std::uint64_t> callbacks{0};  // calls from the plug-in to the host
    std::atomic<std::uint64_t> latencyChecks{0};
    std::atomic<std::uint64_t> stateLoads{0};

    void Call() noexcept { hostCalls.fetch_add(1, std::memory_order_relaxed); }
};
