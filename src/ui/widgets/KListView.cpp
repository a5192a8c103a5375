#include "ui/widgets/KListView.h"

#include <algorithm>

KListView::KListView(const KLayoutControl& place, Binding binding) : KWidget(place), m_binding(std::move(binding)) {
    Refresh();
}

int KListView::VisibleLines() const { return std::max(1, int((Bounds().height - 4) / kLineHeight)); }

void KListView::ScrollTo(int line) {
    const int lastFirst = std::max(0, int(m_lines.size()) - VisibleLines());
    m_first = std::clamp(line, 0, lastFirst);
}

void KListView::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    painter.FillRounded(bounds, 4, KPalette::kWell);
    if (m_lines.empty()) {
        painter.Text(KString::FromUTF8("No presets yet: \u201cSave as\u201d adds one"), bounds, 11, KPalette::kTextDim);
        return;
    }
    const int visible = VisibleLines();
    for (int i = 0; i < visible && m_first + i < int(m_lines.size()); ++i) {
        const int line = m_first + i;
        const KRect row{bounds.x + 2, bounds.y + 2 + i * kLineHeight, bounds.width - 4, kLineHeight};
        if (line == m_selected) painter.FillRounded(row, 3, KPalette::kButton);
        painter.Text(m_lines[std::size_t(line)], row.Inset(6, 0), 11,
                     line == m_current ? KPalette::kAccent : KPalette::kText, KPainter::Align::Left);
    }
}

void KListView::Press(const KPointerEvent& event) {
    if (event.button != KPointerEvent::kLeftButton) return;
    const int line = m_first + int((event.y - Bounds().y - 2) / kLineHeight);
    if (line < 0 || line >= int(m_lines.size())) return;
    m_selected = line;
    if (event.clicks == 2) m_binding.activate(line);
}

void KListView::Wheel(const KPointerEvent& event) { ScrollTo(m_first - event.wheel); }

bool KListView::Refresh() {
    std::vector<KString> lines = m_binding.lines();
    const int current = m_binding.current();
    if (lines == m_lines && current == m_current) return false;
    m_lines = std::move(lines);
    m_current = current;
    if (m_selected >= int(m_lines.size())) m_selected = -1;
    if (current >= 0 && (current < m_first || current >= m_first + VisibleLines())) ScrollTo(current);
    return true;
}
