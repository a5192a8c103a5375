#include "foundation/platform/Mutex.h"

#include <windows.h>

namespace KPlatform {

// The object pointer is the kernel handle itself.

namespace {
HANDLE Handle(void* object) { return reinterpret_cast<HANDLE>(object); }
}  // namespace

Mutex::Mutex() noexcept : m_object(reinterpret_cast<Object*>(CreateMutexW(nullptr, FALSE, nullptr))) {}

Mutex::~Mutex() { Close(); }

WaitResult Mutex::Wait(std::uint32_t timeoutMs) noexcept {
    switch (WaitForSingleObject(Handle(m_object), DWORD(timeoutMs))) {
    case WAIT_OBJECT_0: return WaitResult::Acquired;
    case WAIT_ABANDONED: return WaitResult::Abandoned;
    default: return WaitResult::TimedOut;
    }
}

void Mutex::Release() noexcept { ReleaseMutex(Handle(m_object)); }

void Mutex::Close() noexcept {
    if (!m_object) return;
    CloseHandle(Handle(m_object));
    m_object = nullptr;
}

}  // namespace KPlatform
