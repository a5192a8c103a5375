#include "ui/layout/KLayoutControl.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "ui/layout/KLayout.h"

KLayoutControl::KLayoutControl(KString name) : m_name(std::move(name)) {}

// Layouts go first: they point at the children.
KLayoutControl::~KLayoutControl() { m_layouts.clear(); }

void KLayoutControl::SetSize(KAxis axis, int size) noexcept {
    (axis == KAxis::Horizontal ? m_properties.width : m_properties.height) = size;
}

void KLayoutControl::SetPosition(KAxis axis, int position) noexcept {
    (axis == KAxis::Horizontal ? m_properties.x : m_properties.y) = position;
}

void KLayoutControl::SetMinimalSize(KAxis axis, int size) noexcept {
    (axis == KAxis::Horizontal ? m_minimalWidth : m_minimalHeight) = size;
}

void KLayoutControl::SetCollapsedSize(KAxis axis, int size) noexcept {
    (axis == KAxis::Horizontal ? m_collapsedWidth : m_collapsedHeight) = size;
}

int KLayoutControl::ShownSize(KAxis axis) const noexcept {
    const int collapsed = CollapsedSize(axis);
    return Collapsed() && collapsed != 0 ? collapsed : Size(axis);
}

KLayoutRect KLayoutControl::Rect() const noexcept {
    return {m_properties.x, m_properties.y, m_properties.x + m_properties.width - 1,
            m_properties.y + m_properties.height - 1};
}

int KLayoutControl::ComputePlasticSize(KAxis axis, int otherClientExtent) {
    (void)axis, (void)otherClientExtent;
    throw KException(KFormatter("Service \"{0}\" is not implemented.") << "compute plastic control size");
}

int KLayoutControl::Stretchability() const {
    if (m_layouts.empty()) return 3;
    int bits = 0;
    for (const auto& layout : m_layouts) bits |= layout->Stretchability();
    return bits;
}

KLayoutControl& KLayoutControl::AddChild(std::unique_ptr<KLayoutControl> child) {
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return *m_children.back();
}

KLayoutControl* KLayoutControl::FindDescendant(const KString& name) const noexcept {
    for (const auto& child : m_children) {
        if (child->Name() == name) return child.get();
        if (KLayoutControl* found = child->FindDescendant(name)) return found;
    }
    return nullptr;
}

KLayout& KLayoutControl::AddLayout(std::unique_ptr<KLayout> layout) {
    m_layouts.push_back(std::move(layout));
    return *m_layouts.back();
}

int KLayoutControl::DefaultControlSpacing() const noexcept {
    const KLayoutControl* window = this;
    while (window->m_parent) window = window->m_parent;
    return window->m_defaultSpacing;
}

void KLayoutControl::Arrange() {
    KLayoutRect free{0, 0, m_properties.width - 1, m_properties.height - 1};
    for (const auto& layout : m_layouts) free = layout->Arrange(free);
    for (const auto& child : m_children) child->Arrange();
}

void KLayoutControl::ComputeMinimalClientSize(int& width, int& height) {
    for (const auto& child : m_children) {
        if (child->LayoutCount() == 0) continue;
        int childWidth = 0, childHeight = 0;
        child->ComputeMinimalClientSize(childWidth, childHeight);
    }
    KLayoutSizeState state;
    for (const auto& layout : m_layouts) layout->MinimalSize(state);
    width = std::max(state.MinimalWidth(), m_properties.minimalClientWidth);
    height = std::max(state.MinimalHeight(), m_properties.minimalClientHeight);
    m_minimalWidth = width;
    m_minimalHeight = height;
}

void KLayoutControl::Resize(int width, int height) noexcept {
    m_properties.width = width;
    m_properties.height = height;
}
