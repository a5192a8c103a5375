#pragma once
// The first failure of a run, wherever it happened (the schedule's thread or
// an instance's audio thread), with the schedule's step at the time: a
// block queued earlier may fail because of what a later step did while it
// ran, so replaying up to that step replays both.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

struct KTortureFailureRecord {
    std::uint64_t step;
    int instance;
    std::string what;
};

class KTortureFailure {
public:
    void EnterStep(std::uint64_t step) noexcept { m_step.store(step, std::memory_order_release); }

    void Report(int instance, std::string what) {
        std::lock_guard hold(m_lock);
        if (!m_first) m_first = KTortureFailureRecord{m_step.load(std::memory_order_acquire), instance, std::move(what)};
        m_failed.store(true, std::memory_order_release);
    }
    bool Failed() const noexcept { return m_failed.load(std::memory_order_acquire); }
    std::optional<KTortureFailureRecord> First() const {
        std::lock_guard hold(m_lock);
        return m_first;
    }

private:
    mutable std::mutex m_lock;
    std::optional<KTortureFailureRecord> m_first;
    std::atomic<bool> m_failed{false};
    std::atomic<std::uint64_t> m_step{0};
};
