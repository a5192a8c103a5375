#pragma once
// Helpers for multi-threaded tests: they wait for events, never for fixed
// sleeps, and allow generous bounds so that a loaded machine cannot fail them.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace test_support {

// Long enough that only a real deadlock reaches it.
inline constexpr std::chrono::seconds kPatience{10};

// A one-shot event that stays set. Set() notifies under the lock so that a
// waiter may destroy the event as soon as its wait returns.
class Event {
public:
    void Set() {
        std::lock_guard lock(m_mutex);
        m_set = true;
        m_changed.notify_all();
    }
    bool WaitFor(std::chrono::milliseconds timeout = kPatience) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [this] { return m_set; });
    }
    bool IsSet() {
        std::lock_guard lock(m_mutex);
        return m_set;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
};

// Polls a condition that another thread will make true.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Runs `action` and answers how long it took, in milliseconds.
template <class Action>
double MillisecondsTaken(Action action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A timed acquisition measures with a whole-millisecond clock, so it may give
// up to one millisecond early.
inline constexpr double kClockGrain = 1.5;

// Runs `acquire` on its own thread, holds until the object goes, then runs
// `release` on that same thread.
class HoldingThread {
public:
    template <class Acquire, class Release>
    HoldingThread(Acquire acquire, Release release)
        : m_thread([this, acquire, release] {
              acquire();
              m_holding.Set();
              m_letGo.WaitFor();
              release();
          }) {
        EXPECT_TRUE(m_holding.WaitFor());
    }
    ~HoldingThread() {
        m_letGo.Set();
        m_thread.join();
    }
    HoldingThread(const HoldingThread&) = delete;
    HoldingThread& operator=(const HoldingThread&) = delete;

private:
    Event m_holding;
    Event m_letGo;
    std::thread m_thread;
};

}  // namespace test_support
