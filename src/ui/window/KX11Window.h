#pragma once
#include <cstdint>
#include <memory>

#include "ui/window/KWindowClient.h"

// A child window inside a host's X11 window, on a display connection of
// its own that closes with it, so an editor that is closed leaves nothing
// behind on the X server. Everything runs on the thread that made it: the
// host's user-interface thread, which pumps it from its idle calls or its
// run loop. Nothing outside this class sees Xlib.
class KX11Window {
public:
    // Raises KException "Cannot open the X display." when there is none.
    KX11Window(std::uint64_t parent, int width, int height, KWindowClient& client);
    ~KX11Window();
    KX11Window(const KX11Window&) = delete;
    KX11Window& operator=(const KX11Window&) = delete;

    std::uint64_t Id() const noexcept;
    // The connection's socket, for hosts that watch it in their run loop.
    int ConnectionFd() const noexcept;
    // Handles every event already queued, without waiting, then repaints
    // when something asked for it.
    void ProcessEvents();
    // The next ProcessEvents repaints the window.
    void Invalidate() noexcept { m_invalid = true; }
    void Resize(int width, int height);
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    bool ShiftHeld() const noexcept { return m_shiftHeld; }

private:
    struct KNative;

    void Dispatch(const void* event);
    void DispatchButton(const void* event, bool press);
    void DispatchKey(const void* event);
    void Paint();

    std::unique_ptr<KNative> m_native;
    KWindowClient& m_client;
    int m_width;
    int m_height;
    bool m_invalid = true;
    bool m_shiftHeld = false;
    unsigned long m_lastPressTime = 0;
    int m_lastPressX = -100;
    int m_lastPressY = -100;
};
