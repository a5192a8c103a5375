#include "ui/widgets/KChoice.h"

#include <cmath>

namespace {
constexpr double kLabelHeight = 15;
}

void KChoice::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    painter.Text(Source().Name(), {bounds.x + 2, bounds.y, bounds.width - 4, kLabelHeight}, 10, KPalette::kTextDim,
                 KPainter::Align::Left);
    const KRect box{bounds.x, bounds.y + kLabelHeight, bounds.width, bounds.height - kLabelHeight};
    painter.FillRounded(box, 4, KPalette::kWell);
    painter.StrokeRounded(box, 4, KPalette::kPanelEdge);
    painter.Text(KString::FromUTF8("\u2039"), {box.x + 4, box.y, 12, box.height}, 13, KPalette::kTextDim);
    painter.Text(KString::FromUTF8("\u203a"), {box.x + box.width - 16, box.y, 12, box.height}, 13,
                 KPalette::kTextDim);
    painter.Text(ShownText(), box.Inset(18, 0), 11, KPalette::kAccent);
}

void KChoice::Press(const KPointerEvent& event) {
    if (event.button != KPointerEvent::kLeftButton) return;
    const int steps = Source().Steps();
    if (steps < 2) return;
    const int current = int(std::lround(Source().Value() * (steps - 1)));
    const int direction = event.x < Bounds().CenterX() ? -1 : 1;
    const int next = (current + direction + steps) % steps;
    Source().Begin();
    Source().Set(double(next) / (steps - 1));
    Source().End();
}
