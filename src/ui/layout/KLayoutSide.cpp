#include "ui/layout/KLayoutSide.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutControl.h"
#include "ui/layout/KLayoutNumber.h"
#include "ui/layout/KLayoutStrip.h"

int KLayoutSideBase::GapFromXml(const KXMLItem& item) { return ReadLayoutNumber(item, "space", 0, KLayoutNumber::Extent); }

KLayoutSide::KLayoutSide(KLayoutControl& owner, int direction) : KLayout(owner), m_direction(direction) {}

void KLayoutSide::AddControlFromXml(KLayoutControl& control, const KXMLItem& item) {
    control.SetGap(GapFromXml(item));
    AppendControl(control);
}

KAxis KLayoutSide::DockAxis() const {
    if (m_direction < 0 || m_direction > 3) throw KException("Invalid side-layout direction.");
    return m_direction % 2 == 0 ? KAxis::Horizontal : KAxis::Vertical;
}

// A plastic control alone on a side takes its thickness from the length of
// the side.
void KLayoutSide::ComputePlasticThickness(const KLayoutRect& rect) {
    if (ControlCount() != 1) return;
    KLayoutControl& control = Control(0);
    if (!control.Visible() || !control.Plastic()) return;
    const KAxis dock = DockAxis();
    control.SetMinimalSize(dock, KLayoutStrip::PlasticExtent(control, dock, rect.Extent(Other(dock))));
}

int KLayoutSide::Thickness(const SizeComputer& computer) const {
    int thickness = 0;
    const KAxis dock = DockAxis();
    ForEachVisible([&](const KLayoutControl& control) { thickness = std::max(thickness, computer.Extent(control, dock)); });
    return thickness;
}

KLayoutRect KLayoutSide::Arrange(KLayoutRect rect) {
    const KAxis dock = DockAxis();
    ComputePlasticThickness(rect);
    const int thickness = Thickness(CurrentSizeComputer());
    if (thickness <= 0) return rect;
    // Controls on a left or right side stack as a column, on a top or bottom
    // side as a row.
    const KLayoutStrip strip(*this, Other(dock));
    const KLayoutStrip::Measure measure = strip.Take(thickness, CurrentSizeComputer());
    KLayoutRect cell = rect;
    const bool atStart = m_direction < 2;
    if (atStart) cell.SetRange(dock, rect.Start(dock), rect.Start(dock) + thickness - 1);
    else cell.SetRange(dock, rect.End(dock) - thickness + 1, rect.End(dock));
    strip.Distribute(cell, measure.fixed, measure.ratioSum);
    const int taken = thickness + Spacing();
    if (atStart) rect.SetRange(dock, rect.Start(dock) + taken, rect.End(dock));
    else rect.SetRange(dock, rect.Start(dock), rect.End(dock) - taken);
    return rect;
}

void KLayoutSide::ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) {
    const KAxis dock = DockAxis();
    // The side is as thick as Arrange will make it, whatever the sizing rule.
    const int thickness = Thickness(CurrentSizeComputer());
    if (thickness <= 0) return;
    const KLayoutStrip strip(*this, Other(dock));
    KLayoutStrip::Measure measure = strip.Take(thickness, computer);
    measure.fixed += measure.weightedPlastic + measure.fixedPlastic;
    const int length = strip.MinimalExtent(measure, computer);
    state.Consume(dock, thickness + Spacing(), length);
}

int KLayoutSide::Stretchability() const {
    // A top or bottom side stretches horizontally with its controls, a left
    // or right side vertically.
    const KAxis along = Other(DockAxis());
    const int bit = along == KAxis::Horizontal ? 1 : 2;
    int bits = 0;
    ForEachVisible([&](const KLayoutControl& control) {
        if (control.Ratio(along) > 0 && (control.Stretchability() & bit)) bits = bit;
    });
    return bits;
}
