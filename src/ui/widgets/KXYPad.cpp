#include "ui/widgets/KXYPad.h"

#include "ui/widgets/KValueSource.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {
constexpr double kCornerSize = 16;
// The point keeps this far inside the pad's edge, so it is never cut.
constexpr double kPointMargin = 12;
}

KXYPad::KXYPad(const KLayoutControl& place, Binding binding, std::array<KString, 4> corners)
    : KWidget(place), m_binding(std::move(binding)), m_corners(std::move(corners)) {
    Refresh();
}

KRect KXYPad::Pad() const {
    const KRect bounds = Bounds();
    const double side = std::min(bounds.width, bounds.height);
    return {bounds.CenterX() - side / 2, bounds.CenterY() - side / 2, side, side};
}

void KXYPad::Paint(KPainter& painter) {
    const KRect pad = Pad();
    painter.FillRounded(pad, 6, KPalette::kWell);
    painter.StrokeRounded(pad, 6, KPalette::kPanelEdge);
    cairo_t* cr = painter.Cairo();
    cairo_set_line_width(cr, 1);
    painter.SetColor(KPalette::kGrid);
    cairo_move_to(cr, int(pad.CenterX()) + 0.5, pad.y + 4);
    cairo_line_to(cr, int(pad.CenterX()) + 0.5, pad.y + pad.height - 4);
    cairo_move_to(cr, pad.x + 4, int(pad.CenterY()) + 0.5);
    cairo_line_to(cr, pad.x + pad.width - 4, int(pad.CenterY()) + 0.5);
    cairo_stroke(cr);
    const KRect area = pad.Inset(kPointMargin, kPointMargin);
    const double x = area.x + area.width * m_shownX;
    const double y = area.y + area.height * m_shownY;
    painter.SetColor({KPalette::kAccent.red, KPalette::kAccent.green, KPalette::kAccent.blue, 0.25});
    cairo_arc(cr, x, y, 11, 0, 2 * M_PI);
    cairo_fill(cr);
    painter.SetColor(KPalette::kAccent);
    cairo_arc(cr, x, y, 5, 0, 2 * M_PI);
    cairo_fill(cr);
    // The captions go over the point, so they stay legible in the corners.
    const double right = pad.x + pad.width - kCornerSize - 2;
    const double bottom = pad.y + pad.height - kCornerSize - 2;
    const std::array<KRect, 4> cells{KRect{pad.x + 2, pad.y + 2, kCornerSize, kCornerSize},
                                     KRect{right, pad.y + 2, kCornerSize, kCornerSize},
                                     KRect{pad.x + 2, bottom, kCornerSize, kCornerSize},
                                     KRect{right, bottom, kCornerSize, kCornerSize}};
    for (std::size_t i = 0; i < cells.size(); ++i)
        painter.Text(m_corners[i], cells[i], 11, KPalette::kTextDim, KPainter::Align::Center, KPainter::Weight::Bold);
}

void KXYPad::MoveTo(const KPointerEvent& event) {
    const KRect area = Pad().Inset(kPointMargin, kPointMargin);
    m_binding.move(std::clamp((event.x - area.x) / area.width, 0.0, 1.0),
                   std::clamp((event.y - area.y) / area.height, 0.0, 1.0));
}

void KXYPad::Press(const KPointerEvent& event) {
    if (event.button != KPointerEvent::kLeftButton) return;
    m_dragging = true;
    if (m_binding.begin) m_binding.begin();
    MoveTo(event);
}

void KXYPad::Drag(const KPointerEvent& event) {
    if (m_dragging) MoveTo(event);
}

void KXYPad::Release(const KPointerEvent&) {
    if (!m_dragging) return;
    m_dragging = false;
    if (m_binding.end) m_binding.end();
}

bool KXYPad::Refresh() {
    const double x = KShowableValue(m_binding.x()), y = KShowableValue(m_binding.y());
    if (x == m_shownX && y == m_shownY) return false;
    m_shownX = x;
    m_shownY = y;
    return true;
}
