#include "foundation/threading/KThreadLocalSlot.h"

#include "foundation/core/KException.h"

KThreadLocalSlot::KThreadLocalSlot() : m_index(KPlatform::AllocateTlsIndex()) {
    if (m_index == KPlatform::kInvalidTlsIndex) throw KException("Could not create thread local storage.");
}
