#pragma once
#include "foundation/threading/KSynchronizer.h"
#include "foundation/platform/Semaphore.h"

// A counting semaphore: Acquire takes one unit, Release adds one.
class KSemaphore final : public KSynchronizer {
public:
    static constexpr std::int32_t kMaximumCount = 0x7FFFFFFF;

    explicit KSemaphore(std::int32_t initialCount = 0, std::int32_t maximumCount = kMaximumCount) noexcept
        : m_semaphore(initialCount, maximumCount) {}

    // 0 when a unit was taken, 1 when the timeout passed. A semaphore the
    // system refused to create never gives a unit.
    int Acquire(std::uint32_t timeoutMs) override;
    // A unit beyond the maximum count is dropped.
    void Release() override;

private:
    KPlatform::Semaphore m_semaphore;
};
