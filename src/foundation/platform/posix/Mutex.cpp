#include "foundation/platform/Mutex.h"

#include <cerrno>
#include <ctime>
#include <new>
#include <pthread.h>

namespace KPlatform {

// A robust mutex gives the Windows "abandoned" semantics: when the owner
// ends, the next locker gets EOWNERDEAD and makes the mutex consistent again.
// It is recursive because a Windows mutex is re-entrant for its owner.
struct Mutex::Object {
    pthread_mutex_t mutex;
};

namespace {

// pthread_mutex_timedlock measures against the real-time clock; a jump of the
// wall clock during a wait lengthens or shortens that one wait only.
timespec DeadlineAfter(std::uint32_t timeoutMs) noexcept {
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += time_t(timeoutMs / 1000u);
    deadline.tv_nsec += long(timeoutMs % 1000u) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

int Lock(pthread_mutex_t* mutex, std::uint32_t timeoutMs) noexcept {
    if (timeoutMs == kInfiniteWait) return pthread_mutex_lock(mutex);
    // Trying first spares the clock reading when the mutex is free.
    const int tried = pthread_mutex_trylock(mutex);
    if (tried != EBUSY || timeoutMs == 0) return tried;
    const timespec deadline = DeadlineAfter(timeoutMs);
    return pthread_mutex_timedlock(mutex, &deadline);
}

}  // namespace

Mutex::Mutex() noexcept {
    auto* object = new (std::nothrow) Object;
    if (!object) return;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    const int error = pthread_mutex_init(&object->mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (error != 0) {
        delete object;
        errno = error;
        return;
    }
    m_object = object;
}

Mutex::~Mutex() { Close(); }

WaitResult Mutex::Wait(std::uint32_t timeoutMs) noexcept {
    switch (Lock(&m_object->mutex, timeoutMs)) {
    case 0:
        return WaitResult::Acquired;
    case EOWNERDEAD:
        pthread_mutex_consistent(&m_object->mutex);
        return WaitResult::Abandoned;
    default:
        return WaitResult::TimedOut;
    }
}

void Mutex::Release() noexcept { pthread_mutex_unlock(&m_object->mutex); }

void Mutex::Close() noexcept {
    if (!m_object) return;
    pthread_mutex_destroy(&m_object->mutex);
    delete m_object;
    m_object = nullptr;
}

}  // namespace KPlatform
