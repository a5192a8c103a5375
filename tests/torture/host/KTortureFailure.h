#pragma once
// The failures of a run, wherever they happened (the schedule's thread or
// an instance's audio thread), each with the schedule's step at the time:
// a block queued earlier may fail because of what a later step did while
// it ran, so replaying up to that step replays both.
//
// A run stops at its first failure, or, when it keeps going, records the
// first few of each kind (failures that differ only in their numbers).
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct KTortureFailureRecord {
    std::uint64_t step;
    int instance;
    std::string what;
};

class KTortureFailure {
public:
    static constexpr int kRecordedPerKind = 3;

    explicit KTortureFailure(bool keepGoing = false) noexcept : m_keepGoing(keepGoing) {}

    void EnterStep(std::uint64_t step) noexcept { m_step.store(step, std::memory_order_release); }

    void Report(int instance, std::string what) {
        std::lock_guard hold(m_lock);
        ++m_count;
        int& seen = m_kinds[Kind(what)];
        if (seen++ < kRecordedPerKind) m_records.push_back({m_step.load(std::memory_order_acquire), instance, std::move(what)});
        m_failed.store(true, std::memory_order_release);
    }
    // Whether the run must stop.
    bool Failed() const noexcept { return !m_keepGoing && m_failed.load(std::memory_order_acquire); }
    bool AnyFailure() const noexcept { return m_failed.load(std::memory_order_acquire); }
    std::vector<KTortureFailureRecord> Records() const {
        std::lock_guard hold(m_lock);
        return m_records;
    }
    std::uint64_t Count() const {
        std::lock_guard hold(m_lock);
        return m_count;
    }
    std::size_t Kinds() const {
        std::lock_guard hold(m_lock);
        return m_kinds.size();
    }

    // The text without its numbers.
    static std::string Kind(const std::string& what) {
        std::string kind;
        for (char c : what)
            if ((c < '0' || c > '9') && c != '.' && c != '-' && c != '+') kind += c;
        return kind;
    }

private:
    const bool m_keepGoing;
    mutable std::mutex m_lock;
    std::vector<KTortureFailureRecord> m_records;
    std::map<std::string, int> m_kinds;
    std::uint64_t m_count = 0;
    std::atomic<bool> m_failed{false};
    std::atomic<std::uint64_t> m_step{0};
};
