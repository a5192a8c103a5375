#include "foundation/threading/KSemaphore.h"

int KSemaphore::Acquire(std::uint32_t timeoutMs) {
    return m_semaphore.IsOpen() && m_semaphore.Wait(timeoutMs) ? 0 : 1;
}

void KSemaphore::Release() {
    if (m_semaphore.IsOpen()) m_semaphore.Release();
}
