#pragma once
#include "ui/window/KUiEvents.h"

typedef struct _cairo cairo_t;

// What a native window hands on to its contents.
class KWindowClient {
public:
    virtual void OnPointer(const KPointerEvent& event) = 0;
    virtual void OnKey(const KKeyEvent& event) = 0;
    virtual void OnPaint(cairo_t* cairo) = 0;
    virtual void OnResized(int width, int height) = 0;
    // True while the contents take typed text: the window then asks for
    // the keyboard focus after a click.
    virtual bool WantsKeys() const { return false; }

protected:
    ~KWindowClient() = default;
};
