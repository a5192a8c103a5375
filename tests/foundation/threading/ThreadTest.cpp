#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "foundation/threading/ThreadTestSupport.h"
#include "foundation/core/Diagnostics.h"
#include "foundation/core/KException.h"
#include "foundation/threading/KThread.h"
#include "foundation/core/ProcessDetaching.h"

#if defined(__linux__)
#include <sys/resource.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace {

using test_support::Event;
using test_support::MillisecondsTaken;

constexpr std::uint32_t kPatienceMs = 10000;

// Records what happens to it, in order, into a shared journal.
class JournalThread : public KThread {
public:
    explicit JournalThread(std::vector<std::string>& journal, std::int32_t result = 42)
        : m_journal(journal), m_result(result) {}
    ~JournalThread() override { Stop(); }

    std::int32_t resultSeenOnCompletion = 0;

protected:
    std::int32_t Thread() override {
        m_journal.push_back("body");
        return m_result;
    }
    void OnCompleted() override {
        resultSeenOnCompletion = Result();
        m_journal.push_back("completed");
    }

private:
    std::vector<std::string>& m_journal;
    std::int32_t m_result;
};

class JournalTarget : public KEventTarget {
public:
    explicit JournalTarget(std::vector<std::string>& journal) : m_journal(journal) {}
    void OnEvent(int kind, void* data) override {
        m_journal.push_back(kind == KThread::kThreadFinishedEvent ? "finished" : "other");
        sender = data;
    }
    void* sender = nullptr;

private:
    std::vector<std::string>& m_journal;
};

TEST(KThread, RunsBodyThenCompletionThenNotificationOnce) {
    std::vector<std::string> journal;
    JournalTarget target(journal);
    JournalThread thread(journal);
    thread.SetNotificationTarget(&target);

    thread.Start();
    ASSERT_TRUE(thread.Wait(kPatienceMs));
    EXPECT_EQ(journal, (std::vector<std::string>{"body", "completed", "finished"}));
    EXPECT_EQ(thread.resultSeenOnCompletion, 42);
    EXPECT_EQ(target.sender, static_cast<void*>(&thread));
    EXPECT_EQ(thread.LastExitCode(), 42u);
    EXPECT_EQ(thread.Result(), KThread::kNoResult);  // the ended thread is forgotten
    EXPECT_FALSE(thread.HasThread());
    EXPECT_TRUE(thread.Wait(0));  // nothing left to wait for

    thread.Start();  // the target was dropped after the first notification
    ASSERT_TRUE(thread.Wait(kPatienceMs));
    EXPECT_EQ(journal, (std::vector<std::string>{"body", "completed", "finished", "body", "completed"}));
}

TEST(KThread, StopRequestedBeforeItRunsEndsWithZeroWithoutBody) {
    std::vector<std::string> journal;
    JournalThread thread(journal);
    thread.SetPriority(KThread::Priority::Normal);  // creates the thread suspended
    EXPECT_TRUE(thread.HasThread());
    thread.RequestStop();
    thread.Resume();
    ASSERT_TRUE(thread.Wait(kPatienceMs));
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(thread.LastExitCode(), 0u);

    thread.RequestStop();
    thread.Start();  // starting clears an earlier stop request
    ASSERT_TRUE(thread.Wait(kPatienceMs));
    EXPECT_EQ(journal, (std::vector<std::string>{"body", "completed"}));
}

// Loops until stopped, counting how often it was woken.
class SleeperThread : public KThread {
public:
    explicit SleeperThread(std::atomic<bool>& ended) : m_ended(ended) {}
    ~SleeperThread() override { Stop(); }
    std::atomic<int> wakeUps{0};
    Event running;

protected:
    std::int32_t Thread() override {
        running.Set();
        while (!StopRequested())
            if (WaitForWakeUp(KSynchronizer::kInfinite)) ++wakeUps;
        m_ended = true;
        return 7;
    }

private:
    std::atomic<bool>& m_ended;
};

TEST(KThread, StopWakesTheBodyAndWaitsForIt) {
    std::atomic<bool> ended{false};
    SleeperThread thread(ended);
    thread.Start();
    ASSERT_TRUE(thread.running.WaitFor());
    thread.WakeUp();
    ASSERT_TRUE(test_support::WaitUntil([&] { return thread.wakeUps >= 1; }));
    thread.Stop();
    EXPECT_TRUE(ended);
    EXPECT_EQ(thread.LastExitCode(), 7u);
    EXPECT_FALSE(thread.HasThread());
}

TEST(KThread, DestructorStopsAndWaits) {
    std::atomic<bool> ended{false};
    auto thread = std::make_unique<SleeperThread>(ended);
    thread->Start();
    ASSERT_TRUE(thread->running.WaitFor());
    thread.reset();
    EXPECT_TRUE(ended);
}

// Blocks in its body until the gate opens; reports its own destruction.
class GatedThread : public KThread {
public:
    GatedThread(Event& gate, Event& destroyed) : m_gate(gate), m_destroyed(destroyed) {}
    ~GatedThread() override { m_destroyed.Set(); }
    Event running;

protected:
    std::int32_t Thread() override {
        Event& gate = m_gate;  // members are not touched once the gate opens
        running.Set();
        gate.WaitFor();
        return 5;
    }

private:
    Event& m_gate;
    Event& m_destroyed;
};

TEST(KThread, WaitTimesOutAndForgetsTheThreadWhichThenDeletesItself) {
    Event gate, destroyed;
    auto* thread = new GatedThread(gate, destroyed);
    thread->SetAutoDelete(true);
    thread->Start();
    ASSERT_TRUE(thread->running.WaitFor());

    bool ended = true;
    const double taken = MillisecondsTaken([&] { ended = thread->Wait(60); });
    EXPECT_FALSE(ended);
    EXPECT_GE(taken, 60 - test_support::kClockGrain);
    EXPECT_FALSE(thread->HasThread());
    EXPECT_FALSE(destroyed.IsSet());

    gate.Set();  // the body returns and the object deletes itself
    EXPECT_TRUE(destroyed.WaitFor());
}

// Counts SYSTEM EXCEPTION reports from the diagnostic sink.
std::atomic<int> gThreadProcReports{0};
void CountThreadProcReports(const KString& text) {
    if (text.ToUTF8() == "SYSTEM EXCEPTION! KThreadProc") ++gThreadProcReports;
}

template <class Failure>
class FailingThread : public KThread {
public:
    ~FailingThread() override { Stop(); }

protected:
    std::int32_t Thread() override { throw Failure("failed"); }
};

TEST(KThread, FailureInTheBodyEndsWithAllBitsSet) {
    KDiagnostics::SetListener(&CountThreadProcReports);
    gThreadProcReports = 0;

    FailingThread<std::runtime_error> unexpected;
    unexpected.Start();
    ASSERT_TRUE(unexpected.Wait(kPatienceMs));
    EXPECT_EQ(unexpected.LastExitCode(), KThread::kFailedExitCode);
    EXPECT_EQ(gThreadProcReports, 1);

    FailingThread<KException> expected;  // a KException is dropped without a report
    expected.Start();
    ASSERT_TRUE(expected.Wait(kPatienceMs));
    EXPECT_EQ(expected.LastExitCode(), KThread::kFailedExitCode);
    EXPECT_EQ(gThreadProcReports, 1);
    KDiagnostics::SetListener(nullptr);
}

// Raises the process-detaching flag for one scope.
class Detaching {
public:
    Detaching() { KProcessDetaching::Set(true); }
    ~Detaching() { KProcessDetaching::Set(false); }
};

// Signals when the thread it lives in has ended completely.
Event* gAbandonedThreadExited = nullptr;
struct ExitSignal {
    ~ExitSignal() { gAbandonedThreadExited->Set(); }
};

#if defined(_WIN32)
// The system id of the last abandoned thread's body.
std::atomic<DWORD> gAbandonedThreadId{0};
#endif

// Blocks in its body until its gate opens. It polls a plain flag with
// sleeps rather than waiting on a condition: a thread ended from outside
// inside a runtime's wait leaves that runtime's locks behind.
class AbandonedThread : public KThread {
public:
    AbandonedThread(std::atomic<bool>& gate, Event& destroyed) : m_gate(gate), m_destroyed(destroyed) {}
    ~AbandonedThread() override { m_destroyed.Set(); }
    Event running;

protected:
    std::int32_t Thread() override {
        thread_local ExitSignal signal;  // destroyed only when the thread ends
        (void)signal;
#if defined(_WIN32)
        gAbandonedThreadId = GetCurrentThreadId();
#endif
        std::atomic<bool>& gate = m_gate;  // members are not touched once running is set
        running.Set();
        while (!gate.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 5;
    }

private:
    std::atomic<bool>& m_gate;
    Event& m_destroyed;
};

// What becomes of an abandoned thread. POSIX cannot end a thread from
// outside: once its gate opens it runs on to its end without touching its
// deleted owner. Windows has ended it already, inside its body.
void ExpectAbandonedThreadEndsAfterItsGate(std::atomic<bool>& gate, Event& exited) {
    gate = true;
#if defined(_WIN32)
    const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, gAbandonedThreadId.load());
    EXPECT_TRUE(!thread || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0);  // gone, or ended
    if (thread) CloseHandle(thread);
    EXPECT_FALSE(exited.IsSet());
#else
    EXPECT_TRUE(exited.WaitFor());
#endif
}

TEST(KThread, WhileDetachingDestructionAbandonsInsteadOfWaiting) {
    std::atomic<bool> gate{false};
    Event destroyed, exited;
    gAbandonedThreadExited = &exited;
    auto* thread = new AbandonedThread(gate, destroyed);
    thread->Start();
    ASSERT_TRUE(thread->running.WaitFor());
    {
        Detaching detaching;
        delete thread;  // the body is still blocked: waiting would never end
    }
    EXPECT_TRUE(destroyed.IsSet());
    EXPECT_FALSE(exited.IsSet());

    ExpectAbandonedThreadEndsAfterItsGate(gate, exited);
}

TEST(KThread, WhileDetachingWaitDeletesAnAutoDeleteThread) {
    std::atomic<bool> gate{false};
    Event destroyed, exited;
    gAbandonedThreadExited = &exited;
    auto* thread = new AbandonedThread(gate, destroyed);
    thread->SetAutoDelete(true);
    thread->Start();
    ASSERT_TRUE(thread->running.WaitFor());
    {
        Detaching detaching;
        EXPECT_TRUE(thread->Wait(KSynchronizer::kInfinite));
    }
    EXPECT_TRUE(destroyed.IsSet());
    ExpectAbandonedThreadEndsAfterItsGate(gate, exited);
}

#if defined(__linux__)
class NiceProbeThread : public KThread {
public:
    ~NiceProbeThread() override { Stop(); }
    int nice = 0;

protected:
    std::int32_t Thread() override {
        nice = getpriority(PRIO_PROCESS, 0);  // the calling thread's own nice value on Linux
        return 0;
    }
};

TEST(KThread, PriorityAppliesToTheThreadItself) {
    NiceProbeThread idle;
    idle.SetPriority(KThread::Priority::Idle);
    idle.Start();
    ASSERT_TRUE(idle.Wait(kPatienceMs));
    EXPECT_GT(idle.nice, getpriority(PRIO_PROCESS, 0));

    // Raising needs a privilege an ordinary user lacks; that is no failure.
    NiceProbeThread critical;
    EXPECT_NO_THROW(critical.SetPriority(KThread::Priority::Critical));
    critical.Start();
    ASSERT_TRUE(critical.Wait(kPatienceMs));
    EXPECT_LE(critical.nice, getpriority(PRIO_PROCESS, 0));
}
#elif defined(_WIN32)
class PriorityProbeThread : public KThread {
public:
    ~PriorityProbeThread() override { Stop(); }
    int priority = THREAD_PRIORITY_ERROR_RETURN;

protected:
    std::int32_t Thread() override {
        priority = GetThreadPriority(GetCurrentThread());
        return 0;
    }
};

TEST(KThread, PriorityAppliesToTheThreadItself) {
    // The Windows thread priority of each level, lowest to highest.
    const std::pair<KThread::Priority, int> levels[] = {
        {KThread::Priority::Idle, -15}, {KThread::Priority::Lowest, -2}, {KThread::Priority::Low, -1},
        {KThread::Priority::Normal, 0}, {KThread::Priority::High, 1},    {KThread::Priority::Highest, 2},
        {KThread::Priority::Critical, 15}};
    for (const auto& [level, expected] : levels) {
        PriorityProbeThread probe;
        probe.SetPriority(level);
        probe.Start();
        ASSERT_TRUE(probe.Wait(kPatienceMs));
        EXPECT_EQ(probe.priority, expected);
    }
}
#endif

}  // namespace
