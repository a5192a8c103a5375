#include "ui/widgets/KLabel.h"

KLabel::KLabel(const KLayoutControl& place, KString text, Style style, std::function<KString()> live)
    : KWidget(place), m_text(std::move(text)), m_style(style), m_live(std::move(live)) {
    Refresh();
}

void KLabel::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    switch (m_style) {
        case Style::Title:
            painter.Text(m_text, bounds, 18, KPalette::kAccent, KPainter::Align::Left, KPainter::Weight::Bold);
            break;
        case Style::Heading:
            painter.Text(m_text, bounds, 12, KPalette::kText, KPainter::Align::Left, KPainter::Weight::Bold);
            break;
        case Style::Info:
            painter.FillRounded(bounds, 4, KPalette::kWell);
            painter.Text(m_text, bounds.Inset(8, 0), 11, KPalette::kText, KPainter::Align::Left);
            break;
    }
}

bool KLabel::Refresh() {
    if (!m_live) return false;
    KString text = m_live();
    if (text == m_text) return false;
    m_text = std::move(text);
    return true;
}
