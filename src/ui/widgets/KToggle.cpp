#include "ui/widgets/KToggle.h"

#include <cairo.h>
#include <cmath>

void KToggle::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    const bool on = ShownValue() >= 0.5;
    painter.FillRounded(bounds, 4, on ? KColor{0.26, 0.22, 0.16} : KPalette::kButton);
    painter.StrokeRounded(bounds, 4, on ? KPalette::kAccentDim : KPalette::kPanelEdge);
    cairo_t* cr = painter.Cairo();
    painter.SetColor(on ? KPalette::kAccent : KPalette::kTrack);
    cairo_arc(cr, bounds.x + 12, bounds.CenterY(), 4, 0, 2 * M_PI);
    cairo_fill(cr);
    painter.Text(Source().Name(), {bounds.x + 22, bounds.y, bounds.width - 26, bounds.height}, 11,
                 on ? KPalette::kText : KPalette::kTextDim, KPainter::Align::Left);
}

void KToggle::Press(const KPointerEvent& event) {
    if (event.button != KPointerEvent::kLeftButton) return;
    Source().Begin();
    Source().Set(Source().Value() >= 0.5 ? 0.0 : 1.0);
    Source().End();
}
