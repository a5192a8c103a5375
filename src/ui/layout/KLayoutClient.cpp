#include "ui/layout/KLayoutClient.h"

#include <algorithm>

#include "ui/layout/KLayoutControl.h"
#include "ui/layout/KLayoutStrip.h"

KLayoutClient::KLayoutClient(KLayoutControl& owner, int direction)
    : KLayout(owner), m_axis(direction == 0 ? KAxis::Horizontal : KAxis::Vertical) {}

void KLayoutClient::AddControlFromXml(KLayoutControl& control, const KXMLItem& item) {
    control.SetGap(GapFromXml(item));
    AppendControl(control);
}

KLayoutRect KLayoutClient::Arrange(KLayoutRect rect) {
    const KLayoutStrip strip(*this, m_axis);
    const KLayoutStrip::Measure measure = strip.Take(rect.Extent(Other(m_axis)), CurrentSizeComputer());
    strip.Distribute(rect, measure.fixed + measure.fixedPlastic, measure.ratioSum);
    return KLayoutRect::Empty();
}

void KLayoutClient::ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) {
    const KAxis across = Other(m_axis);
    int breadth = 0;
    ForEachVisible([&](const KLayoutControl& control) { breadth = std::max(breadth, computer.Extent(control, across)); });
    const KLayoutStrip strip(*this, m_axis);
    KLayoutStrip::Measure measure = strip.Take(breadth, computer);
    measure.fixed += measure.weightedPlastic + measure.fixedPlastic;
    const int length = strip.MinimalExtent(measure, computer);
    state.Consume(across, breadth + Spacing(), length);
}

int KLayoutClient::Stretchability() const {
    int bits = 0;
    ForEachVisible([&](const KLayoutControl& control) {
        if (control.Ratio(KAxis::Horizontal) > 0 && (control.Stretchability() & 1)) bits |= 1;
        if (control.Ratio(KAxis::Vertical) > 0 && (control.Stretchability() & 2)) bits |= 2;
    });
    return bits;
}
