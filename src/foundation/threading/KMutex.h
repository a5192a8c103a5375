#pragma once
#include "foundation/threading/KSynchronizer.h"
#include "foundation/platform/Mutex.h"

// A kernel mutex, re-entrant for its owner. A mutex whose owner ended without
// releasing it counts as acquired by the next waiter. A mutex without a
// system handle (the system refused one, or it was closed) locks nothing:
// every acquisition succeeds at once.
class KMutex final : public KSynchronizer {
public:
    KMutex() = default;

    // 0 when acquired (also when abandoned by its previous owner), 1 when the
    // timeout passed.
    int Acquire(std::uint32_t timeoutMs) override;
    void Release() override;

    bool HasHandle() const noexcept { return m_mutex.IsOpen(); }
    // Gives the system handle back early; the mutex locks nothing afterwards.
    void Close() noexcept { m_mutex.Close(); }

private:
    KPlatform::Mutex m_mutex;
};
