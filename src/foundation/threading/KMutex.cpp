#include "foundation/threading/KMutex.h"

int KMutex::Acquire(std::uint32_t timeoutMs) {
    if (!m_mutex.IsOpen()) return 0;
    return m_mutex.Wait(timeoutMs) == KPlatform::WaitResult::TimedOut ? 1 : 0;
}

void KMutex::Release() {
    if (m_mutex.IsOpen()) m_mutex.Release();
}
