#pragma once
#include <cstdint>

// The two-operation interface of the simple synchronisers (KLock, KMutex,
// KSemaphore). Acquire answers 0 on success and non-zero on failure.
class KSynchronizer {
public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

    virtual ~KSynchronizer() = default;
    virtual int Acquire(std::uint32_t timeoutMs) = 0;
    virtual void Release() = 0;
};

// Holds a synchroniser for a scope; a failed acquisition raises
// "Could not acquire mutex.". A null synchroniser locks nothing.
class KScopedLock {
public:
    explicit KScopedLock(KSynchronizer& synchronizer, std::uint32_t timeoutMs = KSynchronizer::kInfinite);
    explicit KScopedLock(KSynchronizer* synchronizer, std::uint32_t timeoutMs = KSynchronizer::kInfinite);
    ~KScopedLock();
    KScopedLock(const KScopedLock&) = delete;
    KScopedLock& operator=(const KScopedLock&) = delete;

private:
    KSynchronizer* m_synchronizer;
};
