#include "ui/widgets/KKnob.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {

constexpr double kLabelHeight = 16;
// The arc runs over 270 degrees, open at the bottom.
constexpr double kStartAngle = 0.75 * M_PI;
constexpr double kSweep = 1.5 * M_PI;

}  // namespace

void KKnob::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    painter.Text(Source().Name(), {bounds.x, bounds.y, bounds.width, kLabelHeight}, 11, KPalette::kTextDim);
    painter.Text(ShownText(), {bounds.x, bounds.y + bounds.height - kLabelHeight, bounds.width, kLabelHeight}, 11,
                 KPalette::kText);

    const double dialHeight = bounds.height - 2 * kLabelHeight;
    const double radius = std::max(4.0, std::min(bounds.width, dialHeight) / 2 - 4);
    const double cx = bounds.CenterX();
    const double cy = bounds.y + kLabelHeight + dialHeight / 2;
    const double angle = kStartAngle + kSweep * std::clamp(ShownValue(), 0.0, 1.0);
    cairo_t* cr = painter.Cairo();

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 4);
    painter.SetColor(KPalette::kTrack);
    cairo_arc(cr, cx, cy, radius, kStartAngle, kStartAngle + kSweep);
    cairo_stroke(cr);
    painter.SetColor(KPalette::kAccent);
    cairo_arc(cr, cx, cy, radius, kStartAngle, angle);
    cairo_stroke(cr);

    painter.SetColor(KPalette::kButton);
    cairo_arc(cr, cx, cy, radius - 6, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2.5);
    painter.SetColor(KPalette::kText);
    cairo_move_to(cr, cx + std::cos(angle) * (radius - 16), cy + std::sin(angle) * (radius - 16));
    cairo_line_to(cr, cx + std::cos(angle) * (radius - 7), cy + std::sin(angle) * (radius - 7));
    cairo_stroke(cr);
}
