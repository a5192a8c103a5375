#include "ui/layout/KLayoutSwitch.h"

#include <algorithm>

#include "ui/layout/KLayoutControl.h"
#include "ui/layout/KLayoutStrip.h"

KLayoutRect KLayoutSwitch::Arrange(KLayoutRect rect) {
    KLayoutControl* shown = nullptr;
    for (int i = 0; i < ControlCount() && !shown; ++i)
        if (Control(i).Visible()) shown = &Control(i);
    if (!shown) return rect;
    const KLayoutRect entry = rect;
    KLayoutRect cell = rect;
    // On each axis a weighted control takes the whole extent; another one
    // takes its size and leaves the rest behind it.
    for (KAxis axis : {KAxis::Horizontal, KAxis::Vertical}) {
        if (shown->Ratio(axis) != 0) continue;
        const int size = shown->ShownSize(axis) + 2 * shown->Border(axis);  // the cell holds the borders
        cell.SetRange(axis, entry.Start(axis), std::min(entry.End(axis), entry.Start(axis) + size - 1));
        rect.SetRange(axis, std::min(entry.End(axis), entry.Start(axis) + size + Spacing() - 1), entry.End(axis));
    }
    KLayoutStrip::Place(*shown, cell);
    if (shown->Ratio(KAxis::Horizontal) >= 1 && shown->Ratio(KAxis::Vertical) >= 1) return KLayoutRect::Empty();
    return rect;
}

void KLayoutSwitch::ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) {
    int width = 0, height = 0;
    for (int i = 0; i < ControlCount(); ++i) height = std::max(height, computer.Height(Control(i)));
    for (int i = 0; i < ControlCount(); ++i) {
        KLayoutControl& control = Control(i);
        const int plasticWidth = control.Plastic()
                                     ? KLayoutStrip::PlasticExtent(control, KAxis::Horizontal, height) +
                                           2 * control.Border(KAxis::Horizontal)
                                     : computer.Width(control);
        width = std::max(width, plasticWidth);
    }
    state.requiredWidth = std::max(state.requiredWidth, width);
    state.requiredHeight = std::max(state.requiredHeight, height);
}

int KLayoutSwitch::Stretchability() const {
    int bits = 0;
    for (int i = 0; i < ControlCount(); ++i) bits |= Control(i).Stretchability();
    return bits;
}
