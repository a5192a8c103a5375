#include "foundation/threading/KSynchronizer.h"

#include "foundation/core/KException.h"

KScopedLock::KScopedLock(KSynchronizer& synchronizer, std::uint32_t timeoutMs)
    : KScopedLock(&synchronizer, timeoutMs) {}

KScopedLock::KScopedLock(KSynchronizer* synchronizer, std::uint32_t timeoutMs) : m_synchronizer(synchronizer) {
    if (m_synchronizer && m_synchronizer->Acquire(timeoutMs) != 0) throw KException("Could not acquire mutex.");
}

KScopedLock::~KScopedLock() {
    if (m_synchronizer) m_synchronizer->Release();
}
