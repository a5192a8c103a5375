#pragma once
#include "ui/layout/KLayout.h"

// Keeps margins free on the four sides; it holds no controls. The margins
// come from "borderleft", "bordertop", "borderright" and "borderbottom".
class KLayoutOccupyBorder : public KLayout {
public:
    KLayoutOccupyBorder(KLayoutControl& owner, int left = 0, int top = 0, int right = 0, int bottom = 0);

    void LoadFromXml(const KXMLItem& item) override;
    // Raises "Service "{0}" is not implemented.": there is nothing to place.
    void AddControl(KLayoutControl& control) override;
    void AddControlFromXml(KLayoutControl& control, const KXMLItem& item) override;
    KLayoutRect Arrange(KLayoutRect rect) override;
    void ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) override;

private:
    int m_left, m_top, m_right, m_bottom;
};
