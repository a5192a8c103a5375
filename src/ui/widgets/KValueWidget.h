#pragma once
#include <memory>

#include "ui/widgets/KValueSource.h"
#include "ui/widgets/KWidget.h"

// A widget over one value: dragging changes it (Shift for fine steps), the
// wheel nudges it, a double click restores the default, and typed text
// goes through the value's own parser.
class KValueWidget : public KWidget {
public:
    // Pixels of drag for the whole range, and how many times finer Shift is.
    static constexpr double kRangePixels = 200;
    static constexpr double kFineFactor = 10;
    // The wheel's step for a continuous value.
    static constexpr double kWheelStep = 0.01;

    KValueWidget(const KLayoutControl& place, std::unique_ptr<KValueSource> source);
    KValueSource& Source() noexcept { return *m_source; }

    bool TakesPointer() const override { return true; }
    void Press(const KPointerEvent& event) override;
    void Drag(const KPointerEvent& event) override;
    void Release(const KPointerEvent& event) override;
    void Wheel(const KPointerEvent& event) override;
    bool Refresh() override;
    KValueSource* TextTarget() override { return m_source.get(); }

protected:
    // The drag distance in pixels that raises the value; vertical by default.
    virtual double DragDistance(const KPointerEvent& from, const KPointerEvent& to) const;
    double ShownValue() const noexcept { return m_shownValue; }
    const KString& ShownText() const noexcept { return m_shownText; }

private:
    void Anchor(const KPointerEvent& event);

    std::unique_ptr<KValueSource> m_source;
    KPointerEvent m_anchor;
    double m_anchorValue = 0;
    bool m_dragging = false;
    double m_shownValue = -1;
    KString m_shownText;
};
