#include "foundation/threading/KERWLock.h"

namespace {

constexpr std::uintptr_t kOneRead = 1;
constexpr std::uintptr_t kOneWrite = std::uintptr_t(1) << 16;

bool IsWrite(std::uint32_t access) { return access != KERWLock::kRead; }
std::uintptr_t OneHold(std::uint32_t access) { return IsWrite(access) ? kOneWrite : kOneRead; }

}  // namespace

KERWLock::Counts KERWLock::Snapshot() const {
    KScopedLock hold(InnerLock());
    return m_counts;
}

void KERWLock::OnWaitStart(std::uint32_t access) noexcept {
    if (!IsWrite(access)) return;
    m_counts.waitingWriters += 1;
    m_counts.readsOfWaitingWriters += ReadHoldsOfCaller();
}

bool KERWLock::CanAcquire(std::uint32_t access) noexcept {
    if (WriteHoldsOfCaller() > 0) return true;
    if (IsWrite(access)) return m_counts.writers == 0 && m_counts.readers == m_counts.readsOfWaitingWriters;
    return ReadHoldsOfCaller() > 0 || (m_counts.writers == 0 && m_counts.waitingWriters == 0);
}

void KERWLock::OnAcquired(std::uint32_t access) noexcept {
    (IsWrite(access) ? m_counts.writers : m_counts.readers) += 1;
    m_holds.Set(m_holds.Get() + OneHold(access));
}

void KERWLock::OnWaitEnd(bool acquired, std::uint32_t access) noexcept {
    (void)acquired;  // the wait's bookkeeping is undone either way
    if (!IsWrite(access)) return;
    m_counts.waitingWriters -= 1;
    m_counts.readsOfWaitingWriters -= ReadHoldsOfCaller();
}

bool KERWLock::OnRelease(std::uint32_t access) noexcept {
    const bool holds = IsWrite(access) ? WriteHoldsOfCaller() > 0 : ReadHoldsOfCaller() > 0;
    // Releasing a hold the caller does not have would corrupt the counts and
    // lock everyone out for good; it is ignored instead.
    if (!holds) return false;
    (IsWrite(access) ? m_counts.writers : m_counts.readers) -= 1;
    m_holds.Set(m_holds.Get() - OneHold(access));
    return m_counts.readers == 0 && m_counts.writers == 0;
}
