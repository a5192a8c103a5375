#pragma once
#include <memory>
#include <vector>

#include "foundation/core/KObject.h"
#include "foundation/text/KString.h"
#include "ui/layout/KLayoutGeometry.h"
#include "ui/layout/KLayoutProperties.h"

class KLayout;

// A control as the layouts see it: a rectangle inside its parent, the
// layout properties, and the layouts that place its own children. The
// editor's widgets extend it.
class KLayoutControl : public KObject {
public:
    explicit KLayoutControl(KString name = KString());
    ~KLayoutControl() override;
    KLayoutControl(const KLayoutControl&) = delete;
    KLayoutControl& operator=(const KLayoutControl&) = delete;

    const KString& Name() const noexcept { return m_name; }
    KLayoutProperties& Properties() noexcept { return m_properties; }
    const KLayoutProperties& Properties() const noexcept { return m_properties; }
    bool Visible() const noexcept { return m_properties.visible; }
    bool Plastic() const noexcept { return m_properties.plastic; }
    bool Collapsed() const noexcept { return m_properties.collapsed; }
    int Ratio(KAxis axis) const noexcept { return m_properties.Ratio(axis); }
    int Border(KAxis axis) const noexcept { return m_properties.Border(axis); }
    int Size(KAxis axis) const noexcept { return m_properties.Size(axis); }
    void SetSize(KAxis axis, int size) noexcept;
    void SetPosition(KAxis axis, int position) noexcept;

    // Computed layout state.
    int MinimalSize(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? m_minimalWidth : m_minimalHeight; }
    void SetMinimalSize(KAxis axis, int size) noexcept;
    // 0: none, the current size is used when collapsed.
    int CollapsedSize(KAxis axis) const noexcept {
        return axis == KAxis::Horizontal ? m_collapsedWidth : m_collapsedHeight;
    }
    void SetCollapsedSize(KAxis axis, int size) noexcept;
    // The size the control shows on an axis: the collapsed one when it has one.
    int ShownSize(KAxis axis) const noexcept;
    int Gap() const noexcept { return m_gap; }
    void SetGap(int gap) noexcept { m_gap = gap; }
    KLayout* OwnerLayout() const noexcept { return m_ownerLayout; }
    bool InLayout() const noexcept { return m_ownerLayout != nullptr; }
    void SetOwnerLayout(KLayout* layout) noexcept { m_ownerLayout = layout; }

    // The rectangle in the parent's client coordinates.
    KLayoutRect Rect() const noexcept;

    // The client extent on `axis` for the given client extent on the other
    // axis, for plastic controls; raises "Service "{0}" is not implemented."
    // unless a control type provides it.
    virtual int ComputePlasticSize(KAxis axis, int otherClientExtent);
    // Bits 1 (horizontally) and 2 (vertically): a control without layouts
    // stretches both ways; one with layouts as they allow.
    virtual int Stretchability() const;

    // Children, owned, and the layouts (owned) that place them, in order.
    KLayoutControl& AddChild(std::unique_ptr<KLayoutControl> child);
    int ChildCount() const noexcept { return int(m_children.size()); }
    KLayoutControl& Child(int index) const noexcept { return *m_children[std::size_t(index)]; }
    KLayoutControl* Parent() const noexcept { return m_parent; }
    // The child of that name, searched depth first, or null.
    KLayoutControl* FindDescendant(const KString& name) const noexcept;
    KLayout& AddLayout(std::unique_ptr<KLayout> layout);
    int LayoutCount() const noexcept { return int(m_layouts.size()); }
    KLayout& Layout(int index) const noexcept { return *m_layouts[std::size_t(index)]; }

    // The style's default spacing between neighbouring controls; children
    // use their window's (the root's).
    int DefaultControlSpacing() const noexcept;
    void SetDefaultControlSpacing(int spacing) noexcept { m_defaultSpacing = spacing; }

    // Places the children by the layouts, from the client rectangle, then
    // lets every child place its own.
    void Arrange();
    // The smallest client size at which every child gets its minimal size:
    // children's minimal sizes first (from their own layouts), then the
    // layouts' size state. Also stored as this control's minimal size.
    void ComputeMinimalClientSize(int& width, int& height);
    void Resize(int width, int height) noexcept;

private:
    KString m_name;
    KLayoutProperties m_properties;
    int m_minimalWidth = 0;
    int m_minimalHeight = 0;
    int m_collapsedWidth = 0;
    int m_collapsedHeight = 0;
    int m_gap = 0;
    int m_defaultSpacing = 0;
    KLayout* m_ownerLayout = nullptr;
    KLayoutControl* m_parent = nullptr;
    std::vector<std::unique_ptr<KLayoutControl>> m_children;
    std::vector<std::unique_ptr<KLayout>> m_layouts;
};
