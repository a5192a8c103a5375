#include "foundation/threading/KSynchronizationObject.h"

#include "foundation/core/KException.h"
#include "foundation/platform/Clock.h"
#include "foundation/platform/Thread.h"

int KSynchronizationObject::Acquire(std::uint32_t mode, std::uint32_t timeoutMs) {
    const std::uint32_t access = mode & kAccessMask;
    if (timeoutMs == KSynchronizer::kInfinite) {
        AcquireUnlimited(access);
        return 0;
    }
    return AcquireWithin(access, timeoutMs) ? 0 : 1;
}

void KSynchronizationObject::AcquireUnlimited(std::uint32_t access) {
    KScopedLock hold(m_lock);
    OnWaitStart(access);
    while (!CanAcquire(access)) {
        // The re-entrant inner lock is held exactly once here (the hooks do
        // not take it), so one release lets other threads in.
        m_lock.Release();
        KPlatform::GiveUpTimeSlice();
        m_lock.Acquire(KSynchronizer::kInfinite);
    }
    OnAcquired(access);
    OnWaitEnd(true, access);
}

bool KSynchronizationObject::AcquireWithin(std::uint32_t access, std::uint32_t timeoutMs) {
    {
        KScopedLock hold(m_lock);
        OnWaitStart(access);
    }
    const std::uint32_t start = KPlatform::MillisecondClock();
    do {
        {
            KScopedLock hold(m_lock);
            if (CanAcquire(access)) {
                OnWaitEnd(true, access);
                OnAcquired(access);
                return true;
            }
        }
        KPlatform::GiveUpTimeSlice();
    } while (KPlatform::MillisecondClock() - start < timeoutMs);
    KScopedLock hold(m_lock);
    OnWaitEnd(false, access);
    return false;
}

void KSynchronizationObject::Release(std::uint32_t mode) {
    bool becameFree;
    {
        KScopedLock hold(m_lock);
        becameFree = OnRelease(mode & kAccessMask);
    }
    // Let a spinning waiter see the free object before this thread takes it again.
    if (becameFree && (mode & kNoYieldOnRelease) == 0) KPlatform::GiveUpTimeSlice();
}

KScopedObjectLock::KScopedObjectLock(KSynchronizationObject& object, std::uint32_t mode, std::uint32_t timeoutMs)
    : m_object(object), m_mode(mode) {
    if (m_object.Acquire(mode, timeoutMs) != 0) throw KException("Could not acquire emulated synchronization object.");
}
