#pragma once
#include "ui/widgets/KValueWidget.h"

// One of a list: the name above, the entry in a box with arrows; a click on
// the left half steps back, on the right half forward, wrapping around.
class KChoice : public KValueWidget {
public:
    using KValueWidget::KValueWidget;
    void Paint(KPainter& painter) override;
    void Press(const KPointerEvent& event) override;
    void Drag(const KPointerEvent&) override {}
    void Release(const KPointerEvent&) override {}
};
