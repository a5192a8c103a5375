#include "ui/layout/KLayoutStrip.h"

#include <algorithm>
#include <cstdint>

#include "ui/layout/KLayoutControl.h"

bool KLayoutStrip::IsWeighted(const KLayoutControl& control, KAxis axis) noexcept {
    if (control.Ratio(axis) == 0) return false;
    return axis == KAxis::Horizontal || !control.Collapsed();
}

int KLayoutStrip::PlasticExtent(KLayoutControl& control, KAxis axis, int otherOuterExtent) {
    // The style's outer and client extents coincide: it draws no frame.
    return control.ComputePlasticSize(axis, otherOuterExtent);
}

KLayoutStrip::Measure KLayoutStrip::Take(int crossExtent, const KLayout::SizeComputer& computer) const {
    Measure measure;
    const int spacing = m_layout.Spacing();
    const KAxis cross = Other(m_axis);
    for (int i = 0; i < m_layout.ControlCount(); ++i) {
        KLayoutControl& control = m_layout.Control(i);
        if (!control.Visible()) continue;
        if (control.Plastic()) {
            const int extent = PlasticExtent(control, m_axis, crossExtent - 2 * control.Border(cross));
            control.SetMinimalSize(m_axis, extent);
            control.SetSize(m_axis, extent);
            measure.ratioSum += control.Ratio(m_axis);
            (control.Ratio(m_axis) != 0 ? measure.weightedPlastic : measure.fixedPlastic) += extent;
        } else if (IsWeighted(control, m_axis)) {
            measure.ratioSum += control.Ratio(m_axis);
        } else {
            measure.fixed += computer.Extent(control, m_axis);
        }
        measure.fixed += control.Gap() + spacing;
    }
    return measure;
}

void KLayoutStrip::Distribute(const KLayoutRect& rect, int fixed, int ratioSum) const {
    const int spacing = m_layout.Spacing();
    int free = std::max(0, rect.Extent(m_axis) - fixed + spacing);
    int position = rect.Start(m_axis);
    for (int i = 0; i < m_layout.ControlCount(); ++i) {
        KLayoutControl& control = m_layout.Control(i);
        if (!control.Visible()) continue;
        // An unweighted control's cell holds its borders too, as the fixed
        // total counted them, so that aligning it never leaves the cell.
        int extent = control.ShownSize(m_axis) + 2 * control.Border(m_axis);
        if (IsWeighted(control, m_axis)) {
            const int ratio = control.Ratio(m_axis);
            extent = ratioSum != 0 ? int(std::int64_t(ratio) * free / ratioSum) : 0;
            free -= extent;
            ratioSum -= ratio;
        }
        KLayoutRect cell = rect;
        cell.SetRange(m_axis, position, position + extent - 1);
        Place(control, cell);
        position = cell.End(m_axis) + control.Gap() + spacing + 1;
    }
}

void KLayoutStrip::Place(KLayoutControl& control, const KLayoutRect& cell) {
    for (KAxis axis : {KAxis::Horizontal, KAxis::Vertical}) {
        const KLayoutProperties& properties = control.Properties();
        const int border = control.Border(axis);
        int extent = control.ShownSize(axis);
        int position;
        if (control.Ratio(axis) != 0 || control.Plastic()) {
            position = cell.Start(axis) + border;
            extent = cell.Extent(axis) - 2 * border;
        } else if (properties.placement & properties.StartBit(axis)) {
            position = cell.Start(axis) + border;
        } else if (properties.placement & properties.EndBit(axis)) {
            // Never before the cell's start, where a control that fills its
            // cell exactly would otherwise stand out by a pixel.
            position = std::max(cell.Start(axis), cell.End(axis) - border - extent);
        } else {
            position = cell.Start(axis) + (cell.End(axis) - cell.Start(axis) - extent + 1) / 2;
        }
        control.SetPosition(axis, position);
        if (axis == KAxis::Horizontal || !control.Collapsed()) control.SetSize(axis, extent);
    }
}

int KLayoutStrip::MinimalExtent(const Measure& measure, const KLayout::SizeComputer& computer) const {
    const int spacing = m_layout.Spacing();
    if (measure.ratioSum < 1) return std::max(measure.fixed - spacing, 0);
    int largest = 0;
    for (int i = 0; i < m_layout.ControlCount(); ++i) {
        const KLayoutControl& control = m_layout.Control(i);
        if (!control.Visible() || control.Plastic() || !IsWeighted(control, m_axis)) continue;
        // Rounded up so that the control's share, rounded down, still holds it.
        const int ratio = control.Ratio(m_axis);
        largest = std::max(largest, (computer.Extent(control, m_axis) * measure.ratioSum + ratio - 1) / ratio);
    }
    return std::max(measure.fixed + largest - spacing, 0);
}
