#include "foundation/platform/Thread.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include "foundation/platform/Wait.h"

namespace KPlatform {

// POSIX threads cannot be created suspended: the new thread publishes its
// kernel id and then waits at a start gate until it is resumed (or told to
// end because its handle was closed first). The object is shared by the
// handle and the running thread and freed by whichever lets go last.
struct Thread::Object {
    enum class Gate { Closed, Open, Cancelled };

    Procedure procedure;
    void* argument;
    pthread_t thread{};

    std::mutex stateMutex;
    std::condition_variable stateChanged;
    Gate gate = Gate::Closed;
    bool started = false;
    pid_t kernelId = 0;
    bool finished = false;
    std::uint32_t exitCode = 0;
    bool joined = false;

    // Separate from stateMutex so that the procedure may close its own handle
    // while it holds an owner section.
    std::mutex ownerMutex;
    bool abandoned = false;

    std::atomic<int> references{2};

    Object(Procedure p, void* a) : procedure(p), argument(a) {}
};

namespace {

thread_local Thread::Object* tCurrentThread = nullptr;

void Unreference(Thread::Object* object) noexcept {
    if (object->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete object;
}

// Announces the thread and waits at the gate; false when it must not run.
bool AwaitStart(Thread::Object& object) noexcept {
    std::unique_lock lock(object.stateMutex);
    object.kernelId = gettid();
    object.started = true;
    object.stateChanged.notify_all();
    object.stateChanged.wait(lock, [&] { return object.gate != Thread::Object::Gate::Closed; });
    return object.gate == Thread::Object::Gate::Open;
}

void Finish(Thread::Object& object, std::uint32_t exitCode) noexcept {
    std::lock_guard lock(object.stateMutex);
    object.exitCode = exitCode;
    object.finished = true;
    object.stateChanged.notify_all();
}

void* Trampoline(void* raw) {
    auto* object = static_cast<Thread::Object*>(raw);
    tCurrentThread = object;
    std::uint32_t exitCode = 0;
    if (AwaitStart(*object)) exitCode = object->procedure(object->argument);
    Finish(*object, exitCode);
    Unreference(object);
    return nullptr;
}

// Linux gives each thread its own nice value. Raising a priority above
// normal needs a privilege that ordinary users lack; see SetPriority.
int NiceValue(ThreadPriority priority) noexcept {
    switch (priority) {
    case ThreadPriority::Idle: return 19;
    case ThreadPriority::Lowest: return 10;
    case ThreadPriority::Low: return 5;
    case ThreadPriority::Normal: return 0;
    case ThreadPriority::High: return -5;
    case ThreadPriority::Highest: return -10;
    case ThreadPriority::Critical: return -20;
    }
    return 0;
}

}  // namespace

bool Thread::CreateSuspended(Procedure procedure, void* argument) noexcept {
    auto* object = new (std::nothrow) Object(procedure, argument);
    if (!object) {
        errno = ENOMEM;
        return false;
    }
    const int error = pthread_create(&object->thread, nullptr, &Trampoline, object);
    if (error != 0) {
        delete object;
        errno = error;
        return false;
    }
    // Wait for the kernel id so that a priority can be set before resuming.
    std::unique_lock lock(object->stateMutex);
    object->stateChanged.wait(lock, [&] { return object->started; });
    m_object = object;
    return true;
}

void Thread::Resume() noexcept {
    std::lock_guard lock(m_object->stateMutex);
    if (m_object->gate != Object::Gate::Closed) return;
    m_object->gate = Object::Gate::Open;
    m_object->stateChanged.notify_all();
}

// A refusal for lack of privilege (EPERM, EACCES) keeps the current priority
// and counts as success: a product must run for ordinary users, and the
// priority is a hint. Any other failure is reported.
bool Thread::SetPriority(ThreadPriority priority) noexcept {
    std::lock_guard lock(m_object->stateMutex);
    // Holding the lock keeps an unfinished thread, and so its id, alive.
    if (m_object->finished) return true;
    if (setpriority(PRIO_PROCESS, id_t(m_object->kernelId), NiceValue(priority)) == 0) return true;
    return errno == EPERM || errno == EACCES;
}

bool Thread::Wait(std::uint32_t timeoutMs) noexcept {
    {
        std::unique_lock lock(m_object->stateMutex);
        const auto finished = [this] { return m_object->finished; };
        if (timeoutMs == kInfiniteWait) {
            m_object->stateChanged.wait(lock, finished);
        } else if (!m_object->stateChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), finished)) {
            return false;
        }
    }
    if (!m_object->joined) {
        pthread_join(m_object->thread, nullptr);
        m_object->joined = true;
    }
    return true;
}

std::uint32_t Thread::ExitCode() const noexcept {
    std::lock_guard lock(m_object->stateMutex);
    return m_object->exitCode;
}

bool Thread::IsCurrent() const noexcept { return m_object && m_object == tCurrentThread; }

void Thread::Close() noexcept {
    if (!m_object) return;
    {
        std::lock_guard lock(m_object->stateMutex);
        if (m_object->gate == Object::Gate::Closed) m_object->gate = Object::Gate::Cancelled;
        m_object->stateChanged.notify_all();
    }
    if (!m_object->joined) pthread_detach(m_object->thread);
    Unreference(m_object);
    m_object = nullptr;
}

// There is no safe way to kill one POSIX thread (pthread_cancel would unwind
// through noexcept code), so an abandoned thread is detached and left
// running; it only ends once its body returns, and from then on it no longer
// touches its owner.
void Thread::Abandon() noexcept {
    {
        std::lock_guard lock(m_object->ownerMutex);
        m_object->abandoned = true;
    }
    Close();
}

Thread::OwnerSection::OwnerSection() noexcept : m_object(tCurrentThread) {
    if (m_object) m_object->ownerMutex.lock();
}

Thread::OwnerSection::~OwnerSection() {
    if (m_object) m_object->ownerMutex.unlock();
}

bool Thread::OwnerSection::Abandoned() const noexcept { return m_object && m_object->abandoned; }

void GiveUpTimeSlice() noexcept { sched_yield(); }

}  // namespace KPlatform
