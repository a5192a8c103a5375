#pragma once
#include <cstdint>

namespace KPlatform {

// A counting kernel semaphore without a name. The system may refuse to create
// one: IsOpen() then answers false.
class Semaphore {
public:
    Semaphore(std::int32_t initialCount, std::int32_t maximumCount) noexcept;
    ~Semaphore();
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    bool IsOpen() const noexcept { return m_object != nullptr; }
    // Requires IsOpen(). Answers true when a unit was taken before the timeout.
    bool Wait(std::uint32_t timeoutMs) noexcept;
    // Requires IsOpen(). Adds one unit; answers false (and adds nothing) when
    // the count is already at its maximum.
    bool Release() noexcept;

private:
    struct Object;
    Object* m_object = nullptr;
};

}  // namespace KPlatform
