#pragma once
#include <unordered_map>

#include "foundation/text/KString.h"
#include "ui/layout/KLayout.h"

// Pins each of its controls to a corner of another control of the same
// window, named by the control's "target" attribute: a badge on a button,
// a close box on a panel. The control's placement bits choose the corner
// (right unless bit 1 asks for the left, top unless bit 8 asks for the
// bottom) and its borders keep it that far inside the target. It overlays
// what is already placed: put it after the layout that places the target.
// It leaves the free rectangle as it was.
class KLayoutCorner : public KLayout {
public:
    using KLayout::KLayout;

    void AddControlFromXml(KLayoutControl& control, const KXMLItem& item) override;
    void RemoveControl(KLayoutControl& control) override;
    void SetTarget(KLayoutControl& control, const KString& targetName);
    // Raises "Invalid target for corner layout." when a target is unknown.
    void CheckTargets() const;
    KLayoutRect Arrange(KLayoutRect rect) override;

private:
    KLayoutControl& TargetOf(const KLayoutControl& control) const;

    std::unordered_map<const KLayoutControl*, KString> m_targets;
};
