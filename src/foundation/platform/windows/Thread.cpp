#include "foundation/platform/Thread.h"

#include <atomic>
#include <new>
#include <windows.h>

#include "foundation/platform/Wait.h"

namespace KPlatform {

// The object is shared by the handle and the running thread and freed by
// whichever lets go last. A thread closed before it was ever resumed is
// resumed with `cancelled` set and ends without running its procedure.
struct Thread::Object {
    Procedure procedure;
    void* argument;
    HANDLE handle = nullptr;
    std::atomic<bool> resumed{false};
    std::atomic<bool> cancelled{false};

    // Held around the procedure's work on its owner outside the body.
    CRITICAL_SECTION ownerSection;
    bool abandoned = false;

    std::atomic<int> references{2};

    Object(Procedure p, void* a) : procedure(p), argument(a) { InitializeCriticalSection(&ownerSection); }
    ~Object() {
        DeleteCriticalSection(&ownerSection);
        if (handle) CloseHandle(handle);
    }
};

namespace {

// A plain pointer in the thread's own storage; no constructor runs for it.
thread_local Thread::Object* tCurrentThread = nullptr;

void Unreference(Thread::Object* object) noexcept {
    if (object->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete object;
}

DWORD WINAPI Trampoline(LPVOID raw) {
    auto* object = static_cast<Thread::Object*>(raw);
    tCurrentThread = object;
    DWORD exitCode = 0;
    if (!object->cancelled.load(std::memory_order_acquire)) exitCode = object->procedure(object->argument);
    Unreference(object);
    return exitCode;
}

int SystemPriority(ThreadPriority priority) noexcept {
    switch (priority) {
    case ThreadPriority::Idle: return THREAD_PRIORITY_IDLE;              // -15
    case ThreadPriority::Lowest: return THREAD_PRIORITY_LOWEST;          // -2
    case ThreadPriority::Low: return THREAD_PRIORITY_BELOW_NORMAL;       // -1
    case ThreadPriority::Normal: return THREAD_PRIORITY_NORMAL;          // 0
    case ThreadPriority::High: return THREAD_PRIORITY_ABOVE_NORMAL;      // 1
    case ThreadPriority::Highest: return THREAD_PRIORITY_HIGHEST;        // 2
    case ThreadPriority::Critical: return THREAD_PRIORITY_TIME_CRITICAL; // 15
    }
    return THREAD_PRIORITY_NORMAL;
}

// Exit code of a thread ended from outside.
constexpr DWORD kTerminatedExitCode = 0xFFFFFFFFu;

}  // namespace

bool Thread::CreateSuspended(Procedure procedure, void* argument) noexcept {
    auto* object = new (std::nothrow) Object(procedure, argument);
    if (!object) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    object->handle = CreateThread(nullptr, 0, &Trampoline, object, CREATE_SUSPENDED, nullptr);
    if (!object->handle) {
        const DWORD error = GetLastError();
        delete object;
        SetLastError(error);
        return false;
    }
    m_object = object;
    return true;
}

void Thread::Resume() noexcept {
    if (m_object->resumed.exchange(true)) return;
    ResumeThread(m_object->handle);
}

bool Thread::SetPriority(ThreadPriority priority) noexcept {
    return SetThreadPriority(m_object->handle, SystemPriority(priority)) != FALSE;
}

bool Thread::Wait(std::uint32_t timeoutMs) noexcept {
    return WaitForSingleObject(m_object->handle, DWORD(timeoutMs)) == WAIT_OBJECT_0;
}

std::uint32_t Thread::ExitCode() const noexcept {
    DWORD code = 0;
    GetExitCodeThread(m_object->handle, &code);
    return std::uint32_t(code);
}

bool Thread::IsCurrent() const noexcept { return m_object && m_object == tCurrentThread; }

void Thread::Close() noexcept {
    if (!m_object) return;
    if (!m_object->resumed.exchange(true)) {
        m_object->cancelled.store(true, std::memory_order_release);
        ResumeThread(m_object->handle);
    }
    Unreference(m_object);
    m_object = nullptr;
}

// Holding the owner section while terminating keeps the thread from being
// cut off inside a section (it would leave its owner half-updated). Once
// the system confirms the thread is gone nobody else can reach the object,
// whatever its count says. Should the system refuse to end the thread, it
// is left to run on, as a closed handle's thread does, and finds itself
// abandoned at its next section.
void Thread::Abandon() noexcept {
    Object* object = m_object;
    m_object = nullptr;
    EnterCriticalSection(&object->ownerSection);
    object->abandoned = true;
    const bool ended = TerminateThread(object->handle, kTerminatedExitCode) != FALSE &&
                       WaitForSingleObject(object->handle, INFINITE) == WAIT_OBJECT_0;
    LeaveCriticalSection(&object->ownerSection);
    if (ended) {
        delete object;
    } else {
        Unreference(object);
    }
}

Thread::OwnerSection::OwnerSection() noexcept : m_object(tCurrentThread) {
    if (m_object) EnterCriticalSection(&m_object->ownerSection);
}

Thread::OwnerSection::~OwnerSection() {
    if (m_object) LeaveCriticalSection(&m_object->ownerSection);
}

bool Thread::OwnerSection::Abandoned() const noexcept { return m_object && m_object->abandoned; }

void GiveUpTimeSlice() noexcept { SwitchToThread(); }

}  // namespace KPlatform
