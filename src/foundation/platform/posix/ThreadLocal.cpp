#include "foundation/platform/ThreadLocal.h"

#include <pthread.h>

namespace KPlatform {

static_assert(sizeof(pthread_key_t) <= sizeof(TlsIndex), "a pthread key must fit a TLS index");

TlsIndex AllocateTlsIndex() noexcept {
    pthread_key_t key;
    if (pthread_key_create(&key, nullptr) != 0) return kInvalidTlsIndex;
    return TlsIndex(key);
}

void FreeTlsIndex(TlsIndex index) noexcept { pthread_key_delete(pthread_key_t(index)); }

void* GetTlsValue(TlsIndex index) noexcept { return pthread_getspecific(pthread_key_t(index)); }

void SetTlsValue(TlsIndex index, void* value) noexcept { pthread_setspecific(pthread_key_t(index), value); }

}  // namespace KPlatform
