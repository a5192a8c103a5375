#include "KHostWindow.h"

#include <cstdint>
#include <cstdlib>

#ifdef HALVANE_TORTURE_X11
#include <X11/Xlib.h>

struct KHostWindow::Parts {
    Display* display = nullptr;
    Window window = 0;
};

KHostWindow* KHostWindow::Shared() {
    static std::unique_ptr<KHostWindow> shared = []() -> std::unique_ptr<KHostWindow> {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) return nullptr;
        Display* display = XOpenDisplay(nullptr);
        if (!display) return nullptr;
        auto parts = std::make_unique<Parts>();
        parts->display = display;
        parts->window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 600, 0, 0, 0);
        XMapWindow(display, parts->window);
        XFlush(display);
        return std::unique_ptr<KHostWindow>(new KHostWindow(std::move(parts)));
    }();
    return shared.get();
}

KHostWindow::~KHostWindow() {
    XDestroyWindow(m_parts->display, m_parts->window);
    XCloseDisplay(m_parts->display);
}

void* KHostWindow::Handle() const noexcept { return reinterpret_cast<void*>(std::uintptr_t(m_parts->window)); }

void KHostWindow::Pump() {
    while (XPending(m_parts->display) > 0) {
        XEvent event;
        XNextEvent(m_parts->display, &event);
    }
}

#else

struct KHostWindow::Parts {};

KHostWindow* KHostWindow::Shared() { return nullptr; }
KHostWindow::~KHostWindow() = default;
void* KHostWindow::Handle() const noexcept { return nullptr; }
void KHostWindow::Pump() {}

#endif

KHostWindow::KHostWindow(std::unique_ptr<Parts> parts) noexcept : m_parts(std::move(parts)) {}
