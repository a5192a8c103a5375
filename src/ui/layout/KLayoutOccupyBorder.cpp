#include "ui/layout/KLayoutOccupyBorder.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutNumber.h"

KLayoutOccupyBorder::KLayoutOccupyBorder(KLayoutControl& owner, int left, int top, int right, int bottom)
    : KLayout(owner), m_left(left), m_top(top), m_right(right), m_bottom(bottom) {}

void KLayoutOccupyBorder::LoadFromXml(const KXMLItem& item) {
    KLayout::LoadFromXml(item);
    m_left = ReadLayoutNumber(item, "borderleft", m_left, KLayoutNumber::Extent);
    m_top = ReadLayoutNumber(item, "bordertop", m_top, KLayoutNumber::Extent);
    m_right = ReadLayoutNumber(item, "borderright", m_right, KLayoutNumber::Extent);
    m_bottom = ReadLayoutNumber(item, "borderbottom", m_bottom, KLayoutNumber::Extent);
}

void KLayoutOccupyBorder::AddControl(KLayoutControl& control) {
    (void)control;
    throw KException(KFormatter("Service \"{0}\" is not implemented.") << "add control to occupy-space layout");
}

void KLayoutOccupyBorder::AddControlFromXml(KLayoutControl& control, const KXMLItem& item) {
    (void)item;
    AddControl(control);
}

KLayoutRect KLayoutOccupyBorder::Arrange(KLayoutRect rect) {
    rect.left += m_left;
    rect.top += m_top;
    rect.right = std::max(rect.right - m_right, rect.left);
    rect.bottom = std::max(rect.bottom - m_bottom, rect.top);
    return rect;
}

void KLayoutOccupyBorder::ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) {
    (void)computer;
    const int spacing = Spacing();
    state.consumedHeight += m_top + spacing + m_bottom;
    state.requiredHeight = std::max(0, state.requiredHeight - (m_top + spacing + m_bottom));
    state.requiredWidth = std::max(state.requiredWidth, m_left + m_right);
    state.consumedWidth += m_left + m_right + spacing;
    state.requiredWidth = std::max(0, state.requiredWidth - (m_left + m_right + spacing));
    state.requiredHeight = std::max(state.requiredHeight, m_top + m_bottom);
}
