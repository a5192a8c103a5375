#pragma once
#include <atomic>
#include <vector>

#include "plugin/core/KAutomationAdapter.h"

// Spreads parameter changes that arrive between blocks across the
// sub-blocks of the next one: while a change is interpolated the parameter
// is redirected, so that the effect reads the running value while the
// value the host set stays where the host put it.
class KParameterInterpolator {
public:
    struct Entry {
        KAutomationAdapter* adapter = nullptr;
        int localIndex = 0;
        double previous = 0;
        double current = 0;
        double running = 0;
        double step = 0;
        bool active = false;
    };

    // Changes smaller than this are taken over without interpolation.
    static constexpr double kThreshold = 1e-5;

    // Adds an interpolated parameter (not from the audio thread).
    void Add(KAutomationAdapter* adapter, int localIndex);
    // The next Prepare takes the current values over without interpolating
    // (after a processing set-up or a state load).
    void RequestReset() noexcept { m_resetPending.store(true, std::memory_order_release); }

    // Starts interpolating the changes since the last block over
    // `sampleCount` samples; false when nothing is to be interpolated.
    bool Prepare(int sampleCount);
    // A block that runs without interpolation (too short to be cut) uses the
    // values as they are: they become the start of the next glide.
    void TakeOver();
    // Advances the running values by `sampleCount` samples.
    void Process(int sampleCount);
    // Takes the target values over and ends the redirection.
    void Finish();

    const std::vector<Entry>& Entries() const noexcept { return m_entries; }

private:
    std::vector<Entry> m_entries;
    std::atomic<bool> m_resetPending{false};
};
