#pragma once
#include "ui/layout/KLayoutControl.h"
#include "ui/widgets/KPainter.h"
#include "ui/widgets/KRect.h"
#include "ui/window/KUiEvents.h"

class KValueSource;

// Something the editor draws in the rectangle the layout gave a control,
// and that may take the pointer. Widgets never own their place: the layout
// tree does, and may move it between two paints.
class KWidget {
public:
    explicit KWidget(const KLayoutControl& place) noexcept : m_place(place) {}
    virtual ~KWidget() = default;
    KWidget(const KWidget&) = delete;
    KWidget& operator=(const KWidget&) = delete;

    // The control's rectangle in window coordinates.
    KRect Bounds() const noexcept;
    const KLayoutControl& Place() const noexcept { return m_place; }

    virtual void Paint(KPainter& painter) = 0;
    // Panels and labels let the pointer through to what lies on them.
    virtual bool TakesPointer() const { return false; }
    virtual void Press(const KPointerEvent&) {}
    virtual void Drag(const KPointerEvent&) {}
    virtual void Release(const KPointerEvent&) {}
    virtual void Wheel(const KPointerEvent&) {}
    // True when what the widget shows changed since it was last painted.
    virtual bool Refresh() { return false; }
    // The value typed text goes to, or null.
    virtual KValueSource* TextTarget() { return nullptr; }

private:
    const KLayoutControl& m_place;
};
