#include "ui/layout/KLayoutCorner.h"

#include "foundation/core/KException.h"
#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutControl.h"

void KLayoutCorner::AddControlFromXml(KLayoutControl& control, const KXMLItem& item) {
    AddControl(control);
    SetTarget(control, item.Attribute("target", KString()));
}

void KLayoutCorner::RemoveControl(KLayoutControl& control) {
    KLayout::RemoveControl(control);
    m_targets.erase(&control);
}

void KLayoutCorner::SetTarget(KLayoutControl& control, const KString& targetName) { m_targets[&control] = targetName; }

KLayoutControl& KLayoutCorner::TargetOf(const KLayoutControl& control) const {
    auto found = m_targets.find(&control);
    KLayoutControl* target = nullptr;
    // Targets are siblings: their rectangles share the owner's coordinates.
    for (int i = 0; found != m_targets.end() && i < Owner().ChildCount() && !target; ++i)
        if (Owner().Child(i).Name() == found->second) target = &Owner().Child(i);
    if (!target || target == &control) throw KException("Invalid target for corner layout.");
    return *target;
}

void KLayoutCorner::CheckTargets() const {
    for (int i = 0; i < ControlCount(); ++i) TargetOf(Control(i));
}

KLayoutRect KLayoutCorner::Arrange(KLayoutRect rect) {
    ForEachVisible([&](KLayoutControl& control) {
        const KLayoutRect target = TargetOf(control).Rect();
        const KLayoutProperties& p = control.Properties();
        const int width = control.ShownSize(KAxis::Horizontal);
        const int height = control.ShownSize(KAxis::Vertical);
        const int x = (p.placement & KLayoutProperties::kAlignLeft) ? target.left + p.borderX
                                                                    : target.right - p.borderX - width + 1;
        const int y = (p.placement & KLayoutProperties::kAlignBottom) ? target.bottom - p.borderY - height + 1
                                                                      : target.top + p.borderY;
        control.SetPosition(KAxis::Horizontal, x);
        control.SetPosition(KAxis::Vertical, y);
    });
    return rect;
}
