#pragma once
#include "ui/layout/KLayout.h"

// Side and client layouts read the gap after each of their controls from
// the control's "space" attribute.
class KLayoutSideBase {
protected:
    static int GapFromXml(const KXMLItem& item);
};

// Docks its controls along one edge of the free rectangle, as thick as the
// thickest of them, and leaves the rest. Direction: 0 left, 1 top, 2 right,
// 3 bottom.
class KLayoutSide : public KLayoutSideBase, public KLayout {
public:
    KLayoutSide(KLayoutControl& owner, int direction);

    void AddControlFromXml(KLayoutControl& control, const KXMLItem& item) override;
    KLayoutRect Arrange(KLayoutRect rect) override;
    void ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) override;
    int Stretchability() const override;
    int Direction() const noexcept { return m_direction; }

private:
    // The axis across the edge: the thickness is measured on it.
    KAxis DockAxis() const;
    void ComputePlasticThickness(const KLayoutRect& rect);
    int Thickness(const SizeComputer& computer) const;

    int m_direction;
};

class KLayoutLeft : public KLayoutSide {
public:
    explicit KLayoutLeft(KLayoutControl& owner) : KLayoutSide(owner, 0) {}
};
class KLayoutTop : public KLayoutSide {
public:
    explicit KLayoutTop(KLayoutControl& owner) : KLayoutSide(owner, 1) {}
};
class KLayoutRight : public KLayoutSide {
public:
    explicit KLayoutRight(KLayoutControl& owner) : KLayoutSide(owner, 2) {}
};
class KLayoutBottom : public KLayoutSide {
public:
    explicit KLayoutBottom(KLayoutControl& owner) : KLayoutSide(owner, 3) {}
};
