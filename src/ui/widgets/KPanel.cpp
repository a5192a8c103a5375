#include "ui/widgets/KPanel.h"

void KPanel::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    switch (m_style) {
        case Style::Window: painter.Fill(bounds, KPalette::kBackground); break;
        case Style::Header:
            painter.Fill(bounds, KPalette::kHeader);
            painter.Fill({bounds.x, bounds.y + bounds.height - 2, bounds.width, 2}, KPalette::kAccentDim);
            break;
        case Style::Card:
            painter.FillRounded(bounds, 8, KPalette::kPanel);
            painter.StrokeRounded(bounds, 8, KPalette::kPanelEdge);
            break;
    }
}
