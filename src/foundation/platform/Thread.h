#pragma once
#include <cstdint>

namespace KPlatform {

// Scheduling priorities, from lowest to highest. On Windows they are the
// thread priorities -15, -2, -1, 0, 1, 2 and 15.
enum class ThreadPriority { Idle, Lowest, Low, Normal, High, Highest, Critical };

// One system thread, created suspended. The object is the owner's handle to
// it: closing the handle forgets the thread but does not stop it.
class Thread {
public:
    using Procedure = std::uint32_t (*)(void* argument);
    struct Object;  // the system's thread, opaque to callers

    Thread() noexcept = default;
    ~Thread() { Close(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool IsOpen() const noexcept { return m_object != nullptr; }
    // Makes a thread that runs `procedure(argument)` once resumed. Requires
    // !IsOpen(); answers false (with the system's error set) on failure.
    bool CreateSuspended(Procedure procedure, void* argument) noexcept;
    // Lets a suspended thread run; does nothing to a running one.
    void Resume() noexcept;
    bool SetPriority(ThreadPriority priority) noexcept;
    // Answers true once the thread has ended, false when the timeout passed.
    bool Wait(std::uint32_t timeoutMs) noexcept;
    // The procedure's result; valid after Wait answered true.
    std::uint32_t ExitCode() const noexcept;
    // True when called on the thread this handle refers to.
    bool IsCurrent() const noexcept;
    // Forgets the thread. A thread that was never resumed ends without
    // running its procedure; a running one runs on.
    void Close() noexcept;
    // Gives the thread up without waiting, for use while the library is being
    // unloaded, then closes the handle. The thread must no longer touch the
    // objects that own it (see OwnerSection).
    void Abandon() noexcept;

    // Held by a thread procedure while it works on its owner outside its
    // body. Abandon() waits until a running section ends; inside a section
    // entered after Abandon(), Abandoned() answers true and the procedure
    // must return without touching its owner.
    class OwnerSection {
    public:
        OwnerSection() noexcept;
        ~OwnerSection();
        OwnerSection(const OwnerSection&) = delete;
        OwnerSection& operator=(const OwnerSection&) = delete;
        bool Abandoned() const noexcept;

    private:
        Object* m_object;
    };

private:
    Object* m_object = nullptr;
};

// Gives the rest of the calling thread's time slice to another ready thread.
void GiveUpTimeSlice() noexcept;

}  // namespace KPlatform
