#pragma once
#include <cstdint>

#include "foundation/platform/Wait.h"

namespace KPlatform {

// A re-entrant kernel mutex without a name. When its owner ends without
// releasing it, the next wait still acquires it and reports it abandoned.
// The system may refuse to create one: IsOpen() then answers false.
class Mutex {
public:
    Mutex() noexcept;
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    bool IsOpen() const noexcept { return m_object != nullptr; }
    // Requires IsOpen(). A timeout of 0 only tries.
    WaitResult Wait(std::uint32_t timeoutMs) noexcept;
    // Requires IsOpen(); a release by a thread that does not own it is ignored.
    void Release() noexcept;
    void Close() noexcept;

private:
    struct Object;
    Object* m_object = nullptr;
};

}  // namespace KPlatform
