#pragma once

namespace KPlatform {

// A re-entrant lock of the operating system (a critical section on Windows,
// a recursive pthread mutex on POSIX).
class CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() noexcept;
    bool TryEnter() noexcept;
    void Leave() noexcept;

private:
    alignas(16) unsigned char m_storage[64];
};

}  // namespace KPlatform
