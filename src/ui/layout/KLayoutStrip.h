#pragma once
#include "ui/layout/KLayout.h"

// The arithmetic shared by the layouts: a strip of controls stacked along
// one axis (a column along the vertical axis, a row along the horizontal
// one), measured and then distributed over a rectangle. Collapsing is
// vertical: in a column a collapsed control gives up its weight, in a row
// it keeps it.
class KLayoutStrip {
public:
    struct Measure {
        int fixed = 0;  // fixed extents, gaps and spacings
        int ratioSum = 0;
        int weightedPlastic = 0;  // computed extents of weighted plastic controls
        int fixedPlastic = 0;  // and of unweighted ones
    };

    KLayoutStrip(const KLayout& layout, KAxis axis) noexcept : m_layout(layout), m_axis(axis) {}

    // Plastic controls get their extent along the strip from `crossExtent`
    // (less their borders), stored as their current and minimal size.
    Measure Take(int crossExtent, const KLayout::SizeComputer& computer) const;
    // Weighted controls share what the fixed total leaves of `rect`; the
    // last one gets what rounding left over.
    void Distribute(const KLayoutRect& rect, int fixed, int ratioSum) const;
    // The least extent along the strip at which every weighted control gets
    // its own size (`measure.fixed` must include the plastic totals).
    int MinimalExtent(const Measure& measure, const KLayout::SizeComputer& computer) const;

    // Whether a control takes a share of the free space along `axis`.
    static bool IsWeighted(const KLayoutControl& control, KAxis axis) noexcept;
    // Places a control inside a cell: stretched on an axis where it has a
    // weight or is plastic, otherwise by its placement bits (centred when
    // neither is set). The height is set only when it is not collapsed.
    static void Place(KLayoutControl& control, const KLayoutRect& cell);
    // The plastic extent along `axis` for an outer extent on the other axis.
    static int PlasticExtent(KLayoutControl& control, KAxis axis, int otherOuterExtent);

private:
    const KLayout& m_layout;
    KAxis m_axis;
};
