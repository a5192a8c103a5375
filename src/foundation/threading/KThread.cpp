#include "foundation/threading/KThread.h"

#include "foundation/core/Guard.h"
#include "foundation/core/KException.h"
#include "foundation/core/ProcessDetaching.h"

KThread::~KThread() { Stop(); }

void KThread::Start() {
    KScopedLock hold(m_mutex);
    SetStopFlag(false);
    CreateIfNeeded();
    m_thread.Resume();
}

void KThread::SetPriority(Priority priority) {
    KScopedLock hold(m_mutex);
    CreateIfNeeded();
    if (!m_thread.SetPriority(priority)) throw KException("Could not set thread priority.");
}

void KThread::Resume() {
    KScopedLock hold(m_mutex);
    if (m_thread.IsOpen()) m_thread.Resume();
}

void KThread::RequestStop() {
    SetStopFlag(true);
    m_wakeUp.Release();
}

bool KThread::StopRequested() const {
    KScopedLock hold(m_stateLock);
    return m_stop;
}

bool KThread::Wait(std::uint32_t timeoutMs) {
    bool deleteAbandoned = false;
    bool ended;
    {
        KScopedLock hold(m_mutex);
        ended = WaitForThread(timeoutMs, deleteAbandoned);
    }
    if (deleteAbandoned) delete this;
    return ended;
}

void KThread::Stop() {
    KScopedLock hold(m_mutex);
    if (!m_thread.IsOpen()) return;
    RequestStop();
    bool deleteAbandoned = false;  // the caller owns the object here (or is destroying it)
    WaitForThread(KSynchronizer::kInfinite, deleteAbandoned);
}

bool KThread::HasThread() const {
    KScopedLock hold(m_mutex);
    return m_thread.IsOpen();
}

void KThread::SetAutoDelete(bool autoDelete) {
    KScopedLock hold(m_stateLock);
    m_autoDelete = autoDelete;
}

void KThread::SetNotificationTarget(KEventTarget* target) {
    KScopedLock hold(m_stateLock);
    m_target = target;
}

std::uint32_t KThread::Procedure(void* self) {
    return KGuard::Run("KThreadProc", kFailedExitCode, [self] { return Run(static_cast<KThread*>(self)); });
}

// Outside its body the procedure touches the object only inside owner
// sections, and not at all once the thread has been abandoned: the object may
// be gone by then.
std::uint32_t KThread::Run(KThread* thread) {
    {
        KPlatform::Thread::OwnerSection section;
        if (section.Abandoned() || thread->StopRequested()) return 0;
    }
    const std::int32_t result = thread->Thread();
    bool deleteSelf;
    {
        KPlatform::Thread::OwnerSection section;
        if (section.Abandoned()) return std::uint32_t(result);
        deleteSelf = thread->Finish(result);
    }
    if (deleteSelf) delete thread;
    return std::uint32_t(result);
}

// Answers whether the object must delete itself.
bool KThread::Finish(std::int32_t result) {
    m_result.store(result, std::memory_order_release);
    OnCompleted();
    KEventTarget* target;
    {
        KScopedLock hold(m_stateLock);
        target = m_target;
        m_target = nullptr;
    }
    if (target) target->OnEvent(kThreadFinishedEvent, this);
    return AutoDelete();
}

void KThread::CreateIfNeeded() {
    if (!m_thread.IsOpen() && !m_thread.CreateSuspended(&Procedure, this))
        throw KException("Could not create system thread.");
}

// Runs under m_mutex. `deleteAbandoned` is set when an abandoned auto-delete
// thread leaves its object to the caller.
bool KThread::WaitForThread(std::uint32_t timeoutMs, bool& deleteAbandoned) {
    if (!m_thread.IsOpen()) return true;
    if (m_thread.IsCurrent()) {
        // A thread cannot wait for itself (it is ending its own object); it
        // ends as soon as it returns.
        Forget();
        return true;
    }
    if (KProcessDetaching::IsSet()) {
        m_thread.Abandon();
        m_lastExitCode.store(kFailedExitCode, std::memory_order_release);
        Forget();
        deleteAbandoned = AutoDelete();
        return true;
    }
    const bool ended = m_thread.Wait(timeoutMs);
    if (ended) m_lastExitCode.store(m_thread.ExitCode(), std::memory_order_release);
    Forget();
    return ended;
}

void KThread::Forget() {
    m_thread.Close();
    m_result.store(kNoResult, std::memory_order_release);
    SetStopFlag(false);
}

void KThread::SetStopFlag(bool stop) {
    KScopedLock hold(m_stateLock);
    m_stop = stop;
}

bool KThread::AutoDelete() const {
    KScopedLock hold(m_stateLock);
    return m_autoDelete;
}
