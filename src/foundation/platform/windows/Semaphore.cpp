#include "foundation/platform/Semaphore.h"

#include <windows.h>

namespace KPlatform {

// The object pointer is the kernel handle itself.

namespace {
HANDLE Handle(void* object) { return reinterpret_cast<HANDLE>(object); }
}  // namespace

Semaphore::Semaphore(std::int32_t initialCount, std::int32_t maximumCount) noexcept
    : m_object(reinterpret_cast<Object*>(CreateSemaphoreW(nullptr, LONG(initialCount), LONG(maximumCount), nullptr))) {}

Semaphore::~Semaphore() {
    if (m_object) CloseHandle(Handle(m_object));
}

bool Semaphore::Wait(std::uint32_t timeoutMs) noexcept {
    return WaitForSingleObject(Handle(m_object), DWORD(timeoutMs)) == WAIT_OBJECT_0;
}

bool Semaphore::Release() noexcept { return ReleaseSemaphore(Handle(m_object), 1, nullptr) != FALSE; }

}  // namespace KPlatform
