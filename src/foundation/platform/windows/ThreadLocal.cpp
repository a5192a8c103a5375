#include "foundation/platform/ThreadLocal.h"

#include <windows.h>

namespace KPlatform {

static_assert(TLS_OUT_OF_INDEXES == kInvalidTlsIndex, "the invalid index is the system's");

TlsIndex AllocateTlsIndex() noexcept { return TlsIndex(TlsAlloc()); }
void FreeTlsIndex(TlsIndex index) noexcept { TlsFree(DWORD(index)); }
void* GetTlsValue(TlsIndex index) noexcept { return TlsGetValue(DWORD(index)); }
void SetTlsValue(TlsIndex index, void* value) noexcept { TlsSetValue(DWORD(index), value); }

}  // namespace KPlatform
