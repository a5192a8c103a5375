#pragma once
#include <array>
#include <functional>

#include "ui/widgets/KWidget.h"

// A square pad with a point the user drags; x grows to the right, y
// downwards, both 0..1. The corners carry captions.
class KXYPad : public KWidget {
public:
    struct Binding {
        std::function<double()> x;
        std::function<double()> y;
        std::function<void(double x, double y)> move;
        std::function<void()> begin;
        std::function<void()> end;
    };

    KXYPad(const KLayoutControl& place, Binding binding, std::array<KString, 4> corners);
    void Paint(KPainter& painter) override;
    bool TakesPointer() const override { return true; }
    void Press(const KPointerEvent& event) override;
    void Drag(const KPointerEvent& event) override;
    void Release(const KPointerEvent& event) override;
    bool Refresh() override;

private:
    KRect Pad() const;
    void MoveTo(const KPointerEvent& event);

    Binding m_binding;
    std::array<KString, 4> m_corners;
    bool m_dragging = false;
    double m_shownX = -1;
    double m_shownY = -1;
};
