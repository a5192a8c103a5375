#pragma once
// The window a host gives an editor as its parent: an X11 window on the
// display the environment names. Without X11 or a display there is none
// and the schedule leaves editors closed.
#include <memory>

class KHostWindow {
public:
    // Null when no X server can be reached. Made on first use.
    static KHostWindow* Shared();

    ~KHostWindow();
    KHostWindow(const KHostWindow&) = delete;
    KHostWindow& operator=(const KHostWindow&) = delete;

    // What effEditOpen takes: the X window id as a pointer-sized value.
    void* Handle() const noexcept;
    // Handles the events the server queued for the host's window.
    void Pump();

private:
    struct Parts;
    explicit KHostWindow(std::unique_ptr<Parts> parts) noexcept;
    std::unique_ptr<Parts> m_parts;
};
