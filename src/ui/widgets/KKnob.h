#pragma once
#include "ui/widgets/KValueWidget.h"

// A rotary knob: the name above, the arc of the value, the value text below.
class KKnob : public KValueWidget {
public:
    using KValueWidget::KValueWidget;
    void Paint(KPainter& painter) override;
};
