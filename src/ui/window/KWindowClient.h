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

protected:
    ~KWindowClient() = default;
};
