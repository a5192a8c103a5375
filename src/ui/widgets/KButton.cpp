#include "ui/widgets/KButton.h"

KButton::KButton(const KLayoutControl& place, KString caption, std::function<void()> action,
                 std::function<bool()> lit)
    : KWidget(place), m_caption(std::move(caption)), m_action(std::move(action)), m_lit(std::move(lit)) {
    m_shownLit = IsLit();
}

void KButton::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    m_shownLit = IsLit();
    painter.FillRounded(bounds, 4, m_shownLit ? KPalette::kButtonLit : KPalette::kButton);
    painter.StrokeRounded(bounds, 4, m_shownLit ? KPalette::kAccent : KPalette::kPanelEdge);
    painter.Text(m_caption, bounds.Inset(3, 0), 11, m_shownLit ? KPalette::kHeader : KPalette::kText,
                 KPainter::Align::Center, KPainter::Weight::Bold);
}

void KButton::Press(const KPointerEvent& event) {
    if (event.button == KPointerEvent::kLeftButton && m_action) m_action();
}

bool KButton::Refresh() { return IsLit() != m_shownLit; }
