#pragma once
#include "ui/layout/KLayoutSide.h"

// Distributes its controls over the whole free rectangle along one axis
// (direction 0 horizontal: a row; 1 vertical: a column) and leaves nothing.
class KLayoutClient : public KLayoutSideBase, public KLayout {
public:
    KLayoutClient(KLayoutControl& owner, int direction);

    void AddControlFromXml(KLayoutControl& control, const KXMLItem& item) override;
    KLayoutRect Arrange(KLayoutRect rect) override;
    void ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) override;
    int Stretchability() const override;
    // The axis along which the controls share the space.
    KAxis Axis() const noexcept { return m_axis; }

private:
    KAxis m_axis;
};

class KLayoutHorizontal : public KLayoutClient {
public:
    explicit KLayoutHorizontal(KLayoutControl& owner) : KLayoutClient(owner, 0) {}
};
class KLayoutVertical : public KLayoutClient {
public:
    explicit KLayoutVertical(KLayoutControl& owner) : KLayoutClient(owner, 1) {}
};
