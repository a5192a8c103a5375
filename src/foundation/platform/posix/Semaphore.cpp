#include "foundation/platform/Semaphore.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

#include "foundation/platform/Wait.h"

namespace KPlatform {

// A POSIX sem_t has no maximum count and no monotonic timed wait, so the
// semaphore is a counter under a mutex with a condition variable.
struct Semaphore::Object {
    std::mutex mutex;
    std::condition_variable released;
    std::int32_t count;
    std::int32_t maximum;
};

Semaphore::Semaphore(std::int32_t initialCount, std::int32_t maximumCount) noexcept {
    if (maximumCount < 1 || initialCount < 0 || initialCount > maximumCount) return;  // refused, as by the kernel
    m_object = new (std::nothrow) Object{{}, {}, initialCount, maximumCount};
}

Semaphore::~Semaphore() { delete m_object; }

bool Semaphore::Wait(std::uint32_t timeoutMs) noexcept {
    std::unique_lock lock(m_object->mutex);
    const auto available = [this] { return m_object->count > 0; };
    if (timeoutMs == kInfiniteWait) {
        m_object->released.wait(lock, available);
    } else if (!m_object->released.wait_for(lock, std::chrono::milliseconds(timeoutMs), available)) {
        return false;
    }
    --m_object->count;
    return true;
}

bool Semaphore::Release() noexcept {
    {
        std::lock_guard lock(m_object->mutex);
        if (m_object->count == m_object->maximum) return false;
        ++m_object->count;
    }
    m_object->released.notify_one();
    return true;
}

}  // namespace KPlatform
