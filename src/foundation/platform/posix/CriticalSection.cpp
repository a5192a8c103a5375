#include "foundation/platform/CriticalSection.h"

#include <pthread.h>

namespace KPlatform {
namespace {
pthread_mutex_t* Mutex(unsigned char* storage) { return reinterpret_cast<pthread_mutex_t*>(storage); }
}  // namespace

static_assert(sizeof(pthread_mutex_t) <= 64, "storage too small for pthread_mutex_t");

CriticalSection::CriticalSection() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(Mutex(m_storage), &attributes);
    pthread_mutexattr_destroy(&attributes);
}

CriticalSection::~CriticalSection() { pthread_mutex_destroy(Mutex(m_storage)); }

void CriticalSection::Enter() noexcept { pthread_mutex_lock(Mutex(m_storage)); }
bool CriticalSection::TryEnter() noexcept { return pthread_mutex_trylock(Mutex(m_storage)) == 0; }
void CriticalSection::Leave() noexcept { pthread_mutex_unlock(Mutex(m_storage)); }

}  // namespace KPlatform
