#pragma once
#include "foundation/threading/KSynchronizer.h"
#include "foundation/platform/CriticalSection.h"

// The ordinary re-entrant lock for short critical sections. A timeout of 0
// only tries: 1 when another thread holds the lock, 0 when it was entered
// (also when the caller already holds it). Any other timeout waits.
class KLock final : public KSynchronizer {
public:
    int Acquire(std::uint32_t timeoutMs) override {
        if (timeoutMs == 0) return m_section.TryEnter() ? 0 : 1;
        m_section.Enter();
        return 0;
    }
    void Release() override { m_section.Leave(); }
    bool TryAcquire() noexcept { return m_section.TryEnter(); }

private:
    KPlatform::CriticalSection m_section;
};
