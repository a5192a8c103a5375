#include "ui/widgets/KValueWidget.h"

#include <algorithm>

KValueWidget::KValueWidget(const KLayoutControl& place, std::unique_ptr<KValueSource> source)
    : KWidget(place), m_source(std::move(source)) {
    Refresh();
}

void KValueWidget::Anchor(const KPointerEvent& event) {
    m_anchor = event;
    m_anchorValue = m_source->Value();
}

void KValueWidget::Press(const KPointerEvent& event) {
    if (event.button != KPointerEvent::kLeftButton) return;
    m_source->Begin();
    m_dragging = true;
    if (event.clicks == 2) m_source->Set(m_source->Default());
    Anchor(event);
}

void KValueWidget::Drag(const KPointerEvent& event) {
    if (!m_dragging) return;
    // Pressing or letting go of Shift mid-drag continues from where the
    // value is, so the control never jumps.
    if (event.shift != m_anchor.shift) Anchor(event);
    const double pixels = kRangePixels * (event.shift ? kFineFactor : 1);
    const double value = std::clamp(m_anchorValue + DragDistance(m_anchor, event) / pixels, 0.0, 1.0);
    if (value != m_source->Value()) m_source->Set(value);
}

void KValueWidget::Release(const KPointerEvent&) {
    if (!m_dragging) return;
    m_dragging = false;
    m_source->End();
}

void KValueWidget::Wheel(const KPointerEvent& event) {
    const int steps = m_source->Steps();
    double step = steps > 1 ? 1.0 / (steps - 1) : kWheelStep;
    if (event.shift && steps <= 1) step /= kFineFactor;
    m_source->Begin();
    m_source->Set(std::clamp(m_source->Value() + event.wheel * step, 0.0, 1.0));
    m_source->End();
}

double KValueWidget::DragDistance(const KPointerEvent& from, const KPointerEvent& to) const {
    return from.y - to.y;
}

bool KValueWidget::Refresh() {
    const double value = KShowableValue(m_source->Value());
    KString text = m_source->Text();
    if (value == m_shownValue && text == m_shownText) return false;
    m_shownValue = value;
    m_shownText = std::move(text);
    return true;
}
