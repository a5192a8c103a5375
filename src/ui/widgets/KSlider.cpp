#include "ui/widgets/KSlider.h"

#include <algorithm>

void KSlider::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    const KRect text{bounds.x + 2, bounds.y, bounds.width - 4, bounds.height - 10};
    painter.Text(Source().Name(), text, 11, KPalette::kTextDim, KPainter::Align::Left);
    painter.Text(ShownText(), text, 11, KPalette::kText, KPainter::Align::Right);
    const KRect track{bounds.x + 2, bounds.y + bounds.height - 8, bounds.width - 4, 5};
    painter.FillRounded(track, 2.5, KPalette::kTrack);
    const double filled = track.width * std::clamp(ShownValue(), 0.0, 1.0);
    painter.FillRounded({track.x, track.y, filled, track.height}, 2.5, KPalette::kAccent);
    painter.FillRounded({track.x + filled - 4, track.y - 3, 8, track.height + 6}, 3, KPalette::kText);
}

double KSlider::DragDistance(const KPointerEvent& from, const KPointerEvent& to) const {
    return to.x - from.x;
}
