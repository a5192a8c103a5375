#pragma once
#include <atomic>
#include <cstdint>

#include "foundation/threading/KLock.h"
#include "foundation/threading/KMutex.h"
#include "foundation/core/KObject.h"
#include "foundation/threading/KSemaphore.h"
#include "foundation/platform/Thread.h"

// A library thread. Derived classes put their work in Thread(); a long-running
// body loops until StopRequested(), sleeping in WaitForWakeUp() between rounds.
//
// The system thread is made suspended on first need (Start or SetPriority)
// and runs once resumed. When the body returns, the result is stored, the
// completion hook runs, the notification target (if any) receives
// kThreadFinishedEvent with the thread as data, and an auto-delete thread
// deletes itself. Start, stop, wait and destruction are serialised.
class KThread : public KObject {
public:
    using Priority = KPlatform::ThreadPriority;

    static constexpr std::int32_t kNoResult = -2;
    // Exit code of a thread that ended in an unexpected failure or was abandoned.
    static constexpr std::uint32_t kFailedExitCode = 0xFFFFFFFFu;
    static constexpr int kThreadFinishedEvent = 0x4B544846;  // 'KTHF'

    KThread() = default;
    // Stops the thread and waits for it (see Stop). A derived class whose body
    // uses its own members must call Stop() in its own destructor.
    ~KThread() override;
    KThread(const KThread&) = delete;
    KThread& operator=(const KThread&) = delete;

    // Clears the stop flag, creates the system thread if there is none and
    // resumes it. Raises "Could not create system thread.".
    void Start();
    // Creates the system thread (suspended) if there is none and sets its
    // priority; the caller then resumes it. Raises "Could not create system
    // thread." or "Could not set thread priority.".
    void SetPriority(Priority priority);
    void Resume();

    // Sets the stop flag and wakes the body once.
    void RequestStop();
    bool StopRequested() const;
    void WakeUp() { m_wakeUp.Release(); }

    // Answers true when the thread is gone, false when the timeout passed.
    // Either way the thread is forgotten afterwards: a thread that is still
    // running runs on unobserved. While the library is being unloaded the
    // thread is abandoned instead, and an auto-delete object deleted.
    bool Wait(std::uint32_t timeoutMs);
    // Sets the stop flag, wakes the body and waits without limit.
    void Stop();

    bool HasThread() const;
    // The body's result while the ended thread is not yet forgotten, else kNoResult.
    std::int32_t Result() const noexcept { return m_result.load(std::memory_order_acquire); }
    // The exit code of the thread last waited for until it ended: the body's
    // result, 0 when stopped before it ran, kFailedExitCode on failure.
    std::uint32_t LastExitCode() const noexcept { return m_lastExitCode.load(std::memory_order_acquire); }

    // Set these before starting.
    void SetAutoDelete(bool autoDelete);
    void SetNotificationTarget(KEventTarget* target);

protected:
    virtual std::int32_t Thread() { return 0; }
    // Runs on the thread after the body, before the notification.
    virtual void OnCompleted() {}

    // Sleeps until woken (WakeUp, RequestStop) or the timeout passes; answers
    // true when woken.
    bool WaitForWakeUp(std::uint32_t timeoutMs) { return m_wakeUp.Acquire(timeoutMs) == 0; }

private:
    static std::uint32_t Procedure(void* self);
    static std::uint32_t Run(KThread* thread);
    bool Finish(std::int32_t result);
    void CreateIfNeeded();
    bool WaitForThread(std::uint32_t timeoutMs, bool& deleteAbandoned);
    void Forget();
    void SetStopFlag(bool stop);
    bool AutoDelete() const;

    KPlatform::Thread m_thread;
    std::atomic<std::int32_t> m_result{kNoResult};
    std::atomic<std::uint32_t> m_lastExitCode{0};
    mutable KLock m_stateLock;  // guards the three fields below
    bool m_stop = false;
    bool m_autoDelete = false;
    KEventTarget* m_target = nullptr;
    KSemaphore m_wakeUp;
    mutable KMutex m_mutex;  // serialises start, stop, wait and destruction
};
