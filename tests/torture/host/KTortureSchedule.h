#pragma once
// The random host: step by step it picks an instance and something a host
// may do to it, from the user-interface thread, while the instances' audio
// threads process the blocks earlier steps queued. Each step draws from its
// own generator (seed, step), so a run replays from its seed up to any step.
#include <cstdint>
#include <memory>
#include <vector>

#include "KTortureCounters.h"
#include "KTortureFailure.h"
#include "KTortureRandom.h"
#include "KVst2Instance.h"

class KTortureSchedule {
public:
    // With `trace`, each step's instance and action go to standard error.
    KTortureSchedule(KVst2Entry entry, std::uint64_t seed, int instanceCount, bool trace);
    ~KTortureSchedule();

    // Runs one step; false once a failure was seen.
    bool Step(std::uint64_t step);
    // Lets every queued block finish and checks each instance's latency.
    void Finish(std::uint64_t step);

    // The states saved so far by any instance.
    const std::vector<std::vector<std::uint8_t>>& States() const noexcept { return m_states; }

    const KTortureCounters& Counters() const noexcept { return m_counters; }
    const KTortureFailure& Failure() const noexcept { return m_failure; }

private:
    using Action = void (KTortureSchedule::*)(KVst2Instance&, KTortureRandom&, std::uint64_t step);
    struct WeightedAction {
        int weight;
        Action action;
        const char* name;
    };
    static const std::vector<WeightedAction>& Actions();

    void Blocks(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Parameter(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void AutomateMany(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void ParameterTexts(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void TypeText(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void SaveState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void RestoreState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void CraftedState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void DamagedState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Bypass(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void SuspendResume(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Reconfigure(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void RateWhileRunning(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Program(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Queries(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Latency(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Replace(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);
    void Editor(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step);

    KVst2Entry m_entry;
    std::uint64_t m_seed;
    bool m_trace;
    KTortureCounters m_counters;
    KTortureFailure m_failure;
    std::vector<std::unique_ptr<KVst2Instance>> m_instances;
    // States saved by any instance, for any other to restore.
    std::vector<std::vector<std::uint8_t>> m_states;
};
