#pragma once
#include "ui/widgets/KValueWidget.h"

// An on/off button with a light: a click switches it.
class KToggle : public KValueWidget {
public:
    using KValueWidget::KValueWidget;
    void Paint(KPainter& painter) override;
    void Press(const KPointerEvent& event) override;
    void Drag(const KPointerEvent&) override {}
    void Release(const KPointerEvent&) override {}
};
