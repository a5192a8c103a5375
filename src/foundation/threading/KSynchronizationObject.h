#pragma once
#include <cstdint>

#include "foundation/threading/KLock.h"
#include "foundation/core/KObject.h"

// An emulated synchronisation object: admission is decided by hooks that a
// derived class implements, all called under an inner KLock. Waiters never
// block in the kernel; they give up their time slice between tests, which
// suits locks that are held briefly.
//
// Modes: the lower 28 bits select the kind of access and are all the hooks
// see; the upper four bits are flags.
class KSynchronizationObject : public KObject {
public:
    static constexpr std::uint32_t kAccessMask = 0x0FFFFFFFu;
    // The releasing thread does not yield after freeing the object.
    static constexpr std::uint32_t kNoYieldOnRelease = 0x40000000u;

    // 0 when acquired, 1 when `timeoutMs` passed first (KSynchronizer::kInfinite waits without limit).
    int Acquire(std::uint32_t mode, std::uint32_t timeoutMs = KSynchronizer::kInfinite);
    void Release(std::uint32_t mode);

protected:
    // The hooks run under the inner lock and must not throw.
    virtual void OnWaitStart(std::uint32_t access) noexcept { (void)access; }
    virtual bool CanAcquire(std::uint32_t access) noexcept = 0;
    virtual void OnAcquired(std::uint32_t access) noexcept { (void)access; }
    virtual void OnWaitEnd(bool acquired, std::uint32_t access) noexcept {
        (void)acquired;
        (void)access;
    }
    // Answers true when the object became completely free.
    virtual bool OnRelease(std::uint32_t access) noexcept {
        (void)access;
        return false;
    }

    // Guards the derived class's bookkeeping.
    KLock& InnerLock() const noexcept { return m_lock; }

private:
    void AcquireUnlimited(std::uint32_t access);
    bool AcquireWithin(std::uint32_t access, std::uint32_t timeoutMs);

    mutable KLock m_lock;
};

// Holds an emulated synchronisation object in one mode for a scope; a failed
// acquisition raises "Could not acquire emulated synchronization object.".
class KScopedObjectLock {
public:
    KScopedObjectLock(KSynchronizationObject& object, std::uint32_t mode,
                      std::uint32_t timeoutMs = KSynchronizer::kInfinite);
    ~KScopedObjectLock() { m_object.Release(m_mode); }
    KScopedObjectLock(const KScopedObjectLock&) = delete;
    KScopedObjectLock& operator=(const KScopedObjectLock&) = delete;

private:
    KSynchronizationObject& m_object;
    std::uint32_t m_mode;
};
