#pragma once
#include <cstdint>

#include "foundation/threading/KSynchronizationObject.h"
#include "foundation/threading/KThreadLocalSlot.h"

// A recursive reader/writer lock with writer preference, emulated on
// KSynchronizationObject. A waiting writer keeps new readers out, but a
// thread that already reads (or writes) gets read access again at once. A
// reader may upgrade to write once every outstanding read belongs to a
// thread that is itself waiting to write.
//
// Each thread's own holds live in thread-local storage: write holds in the
// upper 16 bits, read holds in the lower 16 bits.
class KERWLock final : public KSynchronizationObject {
public:
    static constexpr std::uint32_t kRead = 0;
    static constexpr std::uint32_t kWrite = 1;

    struct Counts {
        std::int32_t readers = 0;         // read holds outstanding
        std::int32_t writers = 0;         // write holds outstanding
        std::int32_t waitingWriters = 0;  // threads waiting for write access
        std::int32_t readsOfWaitingWriters = 0;  // read holds those threads already have
        friend bool operator==(const Counts&, const Counts&) = default;
    };

    // Raises "Could not create thread local storage." when the system has no
    // index left.
    KERWLock() = default;

    Counts Snapshot() const;
    int ReadHoldsOfCaller() const noexcept { return int(m_holds.Get() & 0xFFFFu); }
    int WriteHoldsOfCaller() const noexcept { return int(m_holds.Get() >> 16); }

protected:
    void OnWaitStart(std::uint32_t access) noexcept override;
    bool CanAcquire(std::uint32_t access) noexcept override;
    void OnAcquired(std::uint32_t access) noexcept override;
    void OnWaitEnd(bool acquired, std::uint32_t access) noexcept override;
    bool OnRelease(std::uint32_t access) noexcept override;

private:
    Counts m_counts;
    KThreadLocalSlot m_holds;
};
