#include "ui/window/KX11Window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <cstdlib>

#include "foundation/core/KException.h"

namespace {

// A second press this soon and this near makes a double click.
constexpr unsigned long kDoubleClickMs = 400;
constexpr int kDoubleClickSlop = 4;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | StructureNotifyMask;

int EditingKeyCode(KeySym symbol) noexcept {
    switch (symbol) {
        case XK_BackSpace: return KKeyEvent::kBackspace;
        case XK_Return:
        case XK_KP_Enter: return KKeyEvent::kReturn;
        case XK_Escape: return KKeyEvent::kEscape;
        default: return 0;
    }
}

// Xlib's error handler is process-wide, and its default ends the process.
// While the editor talks to the server, errors on its own connection are
// counted instead: a host may hand over a window that is gone, or destroy
// its window (and ours in it) at any moment, even before it closes the
// editor. Errors of any other connection go to the handler that was there.
// Only the user-interface thread runs these.
Display* g_trappedDisplay = nullptr;
XErrorHandler g_previousHandler = nullptr;
int g_errors = 0;
int CountError(Display* display, XErrorEvent* error) {
    if (display != g_trappedDisplay && g_previousHandler) return g_previousHandler(display, error);
    ++g_errors;
    return 0;
}

// Runs `requests` and waits for the server's answers, so that every error
// they cause arrives while it is counted; the number of errors.
template <class Requests>
int CountErrors(Display* display, Requests&& requests) {
    g_errors = 0;
    g_trappedDisplay = display;
    g_previousHandler = XSetErrorHandler(CountError);
    requests();
    XSync(display, False);
    XSetErrorHandler(g_previousHandler);
    g_trappedDisplay = nullptr;
    return g_errors;
}

}  // namespace

// The editor is drawn into a cairo image in memory and put into the window
// as a whole: no drawing state lives on the X server or in cairo's per-
// display caches, so closing the connection releases everything.
struct KX11Window::KNative {
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    cairo_surface_t* image = nullptr;
    XImage* picture = nullptr;

    void MakeImage(int width, int height) {
        DropImage();
        image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        // 32-bit pixels 0x00RRGGBB in the machine's byte order: what a
        // TrueColor visual of depth 24 takes.
        picture = XCreateImage(display, DefaultVisual(display, DefaultScreen(display)),
                               unsigned(DefaultDepth(display, DefaultScreen(display))), ZPixmap, 0,
                               reinterpret_cast<char*>(cairo_image_surface_get_data(image)), unsigned(width),
                               unsigned(height), 32, cairo_image_surface_get_stride(image));
    }
    void DropImage() {
        if (picture) {
            // The pixels are cairo's, not Xlib's to free.
            picture->data = nullptr;
            XDestroyImage(picture);
            picture = nullptr;
        }
        if (image) cairo_surface_destroy(image);
        image = nullptr;
    }
};

KX11Window::KX11Window(std::uint64_t parent, int width, int height, KWindowClient& client)
    : m_native(std::make_unique<KNative>()), m_client(client), m_width(width), m_height(height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) throw KException("Cannot open the X display.");
    m_native->display = display;
    const int screen = DefaultScreen(display);
    const Window parentWindow = parent ? Window(parent) : RootWindow(display, screen);
    XSetWindowAttributes attributes{};
    attributes.event_mask = kEventMask;
    attributes.background_pixmap = None;
    const int errors = CountErrors(display, [&] {
        m_native->window = XCreateWindow(display, parentWindow, 0, 0, unsigned(width), unsigned(height), 0,
                                         CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixmap,
                                         &attributes);
    });
    if (errors > 0) {
        XCloseDisplay(display);
        throw KException("Cannot open the editor window.");
    }
    m_native->gc = XCreateGC(display, m_native->window, 0, nullptr);
    m_native->MakeImage(width, height);
    XMapWindow(display, m_native->window);
    XFlush(display);
}

KX11Window::~KX11Window() {
    m_native->DropImage();
    CountErrors(m_native->display, [&] {
        XFreeGC(m_native->display, m_native->gc);
        XDestroyWindow(m_native->display, m_native->window);
    });
    XCloseDisplay(m_native->display);
}

std::uint64_t KX11Window::Id() const noexcept { return m_native->window; }
int KX11Window::ConnectionFd() const noexcept { return ConnectionNumber(m_native->display); }

void KX11Window::ProcessEvents() {
    CountErrors(m_native->display, [&] {
        while (XPending(m_native->display) > 0) {
            XEvent event;
            XNextEvent(m_native->display, &event);
            Dispatch(&event);
        }
        if (m_invalid) Paint();
    });
}

void KX11Window::Resize(int width, int height) {
    if (width == m_width && height == m_height) return;
    m_width = width;
    m_height = height;
    CountErrors(m_native->display,
                [&] { XResizeWindow(m_native->display, m_native->window, unsigned(width), unsigned(height)); });
    m_native->MakeImage(width, height);
    m_client.OnResized(width, height);
    m_invalid = true;
}

void KX11Window::Dispatch(const void* raw) {
    const XEvent& event = *static_cast<const XEvent*>(raw);
    switch (event.type) {
        case Expose: m_invalid = true; break;
        case ButtonPress: DispatchButton(raw, true); break;
        case ButtonRelease: DispatchButton(raw, false); break;
        case MotionNotify: {
            KPointerEvent pointer;
            pointer.kind = KPointerEvent::Kind::Move;
            pointer.x = event.xmotion.x;
            pointer.y = event.xmotion.y;
            pointer.shift = m_shiftHeld = (event.xmotion.state & ShiftMask) != 0;
            pointer.control = (event.xmotion.state & ControlMask) != 0;
            m_client.OnPointer(pointer);
            break;
        }
        case KeyPress: DispatchKey(raw); break;
        case ConfigureNotify:
            if (event.xconfigure.width != m_width || event.xconfigure.height != m_height) {
                m_width = event.xconfigure.width;
                m_height = event.xconfigure.height;
                m_native->MakeImage(m_width, m_height);
                m_client.OnResized(m_width, m_height);
                m_invalid = true;
            }
            break;
        default: break;
    }
}

void KX11Window::DispatchButton(const void* raw, bool press) {
    const XButtonEvent& button = static_cast<const XEvent*>(raw)->xbutton;
    KPointerEvent pointer;
    pointer.x = button.x;
    pointer.y = button.y;
    pointer.shift = m_shiftHeld = (button.state & ShiftMask) != 0;
    pointer.control = (button.state & ControlMask) != 0;
    // Buttons 4 and 5 are the wheel, reported as presses only.
    if (button.button == Button4 || button.button == Button5) {
        if (!press) return;
        pointer.kind = KPointerEvent::Kind::Wheel;
        pointer.wheel = button.button == Button4 ? 1 : -1;
        m_client.OnPointer(pointer);
        return;
    }
    pointer.kind = press ? KPointerEvent::Kind::Press : KPointerEvent::Kind::Release;
    pointer.button = int(button.button);
    if (press) {
        const bool near = std::abs(button.x - m_lastPressX) <= kDoubleClickSlop &&
                          std::abs(button.y - m_lastPressY) <= kDoubleClickSlop;
        const bool quick = button.time - m_lastPressTime <= kDoubleClickMs;
        pointer.clicks = near && quick ? 2 : 1;
        // A third press starts counting again.
        m_lastPressTime = pointer.clicks == 2 ? 0 : button.time;
        m_lastPressX = button.x;
        m_lastPressY = button.y;
    }
    m_client.OnPointer(pointer);
    // Hosts pass keys on only while no plug-in window has the focus, so a
    // text entry takes it; the host gets it back when the user clicks there.
    if (press && m_client.WantsKeys())
        XSetInputFocus(m_native->display, m_native->window, RevertToParent, CurrentTime);
}

void KX11Window::DispatchKey(const void* raw) {
    XKeyEvent key = static_cast<const XEvent*>(raw)->xkey;
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int length = XLookupString(&key, text, sizeof text, &symbol, nullptr);
    KKeyEvent event;
    event.code = EditingKeyCode(symbol);
    if (event.code == 0 && length == 1 && static_cast<unsigned char>(text[0]) >= 32)
        event.character = char32_t(static_cast<unsigned char>(text[0]));
    if (event.code != 0 || event.character != 0) m_client.OnKey(event);
}

void KX11Window::Paint() {
    m_invalid = false;
    cairo_t* cairo = cairo_create(m_native->image);
    m_client.OnPaint(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(m_native->image);
    XPutImage(m_native->display, m_native->window, m_native->gc, m_native->picture, 0, 0, 0, 0, unsigned(m_width),
              unsigned(m_height));
}
