#pragma once
#include <cstdint>

#include "foundation/platform/ThreadLocal.h"

// One thread-local value per thread, 0 until the thread sets it. Making a
// slot raises "Could not create thread local storage." when the system has
// no index left.
class KThreadLocalSlot {
public:
    KThreadLocalSlot();
    ~KThreadLocalSlot() { KPlatform::FreeTlsIndex(m_index); }
    KThreadLocalSlot(const KThreadLocalSlot&) = delete;
    KThreadLocalSlot& operator=(const KThreadLocalSlot&) = delete;

    std::uintptr_t Get() const noexcept { return reinterpret_cast<std::uintptr_t>(KPlatform::GetTlsValue(m_index)); }
    void Set(std::uintptr_t value) noexcept { KPlatform::SetTlsValue(m_index, reinterpret_cast<void*>(value)); }

private:
    KPlatform::TlsIndex m_index;
};
