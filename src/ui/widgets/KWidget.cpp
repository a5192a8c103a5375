#include "ui/widgets/KWidget.h"

KRect KWidget::Bounds() const noexcept {
    // Each control's rectangle is in its parent's client coordinates, whose
    // origin is the parent's own top-left corner.
    double x = 0, y = 0;
    for (const KLayoutControl* control = &m_place; control->Parent(); control = control->Parent()) {
        x += control->Rect().left;
        y += control->Rect().top;
    }
    const KLayoutRect rect = m_place.Rect();
    return {x, y, double(rect.Width()), double(rect.Height())};
}
