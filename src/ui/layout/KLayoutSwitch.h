#pragma once
#include "ui/layout/KLayout.h"

// Shows its first visible control (pages of a tabbed panel, for example).
class KLayoutSwitch : public KLayout {
public:
    using KLayout::KLayout;

    KLayoutRect Arrange(KLayoutRect rect) override;
    void ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) override;
    int Stretchability() const override;
};
