#pragma once
#include "ui/widgets/KValueWidget.h"

// A horizontal slider: name on the left, value on the right, the bar below.
class KSlider : public KValueWidget {
public:
    using KValueWidget::KValueWidget;
    void Paint(KPainter& painter) override;

protected:
    double DragDistance(const KPointerEvent& from, const KPointerEvent& to) const override;
};
