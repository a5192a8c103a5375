#pragma once
// The random host: step by step it picks an instance and something a host
// may do to it, from the user-interface thread, while the instances' audio
// threads process the blocks earlier steps queued. Each step draws from its
// own generator (seed, step), so a run replays from its seed up to any step.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "KTortureCounters.h"
#include "KTortureFailure.h"
#include "KTortureRandom.h"
#include "KTortureInstance.h"

class KTortureSchedule {
public:
    // Makes the instance for a slot, in the slot's format.
    using Factory = std::function<std::unique_ptr<KTortureInstance>(int index, KTortureFailure&, KTortureCounters&)>;

    // With `trace`, each step's instance and action go to standard error;
    // with `keepGoing`, failures are recorded and the run goes on.
    KTortureSchedule(Factory factory, std::uint64_t seed, int instanceCount, bool trace, bool keepGoing);
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
    using Action = void (KTortureSchedule::*)(KTortureInstance&, KTortureRandom&, std::uint64_t step);
    struct WeightedAction {
        int weight;
        Action action;
        const char* name;
    };
    static const std::vector<WeightedAction>& Actions();

    void Blocks(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Parameter(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void AutomateMany(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void ParameterTexts(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void TypeText(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void SaveState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void RestoreState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void CraftedState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void DamagedState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Bypass(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void SuspendResume(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Reconfigure(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void RateWhileRunning(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Program(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Queries(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Latency(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Replace(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);
    void Editor(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step);

    Factory m_factory;
    std::uint64_t m_seed;
    bool m_trace;
    KTortureCounters m_counters;
    KTortureFailure m_failure;
    std::vector<std::unique_ptr<KTortureInstance>> m_instances;
    // States saved by any instance, for any other to restore.
    std::vector<std::vector<std::uint8_t>> m_states;
};
