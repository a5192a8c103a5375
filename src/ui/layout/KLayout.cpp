#include "ui/layout/KLayout.h"

#include <algorithm>

#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutControl.h"
#include "ui/layout/KLayoutNumber.h"

void KLayoutSizeState::Consume(KAxis axis, int taken, int length) noexcept {
    int& consumed = axis == KAxis::Horizontal ? consumedWidth : consumedHeight;
    int& required = axis == KAxis::Horizontal ? requiredWidth : requiredHeight;
    int& other = axis == KAxis::Horizontal ? requiredHeight : requiredWidth;
    consumed += taken;
    required = std::max(0, required - taken);
    other = std::max(other, length);
}

int KLayout::CurrentSizeComputer::Extent(const KLayoutControl& control, KAxis axis) const {
    const int size = control.Plastic() ? control.MinimalSize(axis) : control.ShownSize(axis);
    return size + 2 * control.Border(axis);
}

int KLayout::MinimalSizeComputer::Extent(const KLayoutControl& control, KAxis axis) const {
    // Collapsing folds a control away vertically: it needs no height at all.
    if (axis == KAxis::Vertical && control.Collapsed()) return 0;
    int size = control.MinimalSize(axis);
    if (control.Ratio(axis) == 0 && !control.Plastic()) size = std::max(size, control.ShownSize(axis));
    return size + 2 * control.Border(axis);
}

KLayout::KLayout(KLayoutControl& owner) : m_owner(owner) {}

KLayout::~KLayout() {
    for (KLayoutControl* control : m_controls) control->SetOwnerLayout(nullptr);
}

void KLayout::LoadFromXml(const KXMLItem& item) {
    m_space = ReadLayoutNumber(item, "layoutspace", m_space, KLayoutNumber::Extent);
    m_defaultBorderX = ReadLayoutNumber(item, "deflayoutborderx", m_defaultBorderX, KLayoutNumber::Extent);
    m_defaultBorderY = ReadLayoutNumber(item, "deflayoutbordery", m_defaultBorderY, KLayoutNumber::Extent);
}

void KLayout::AddControlFromXml(KLayoutControl& control, const KXMLItem& item) {
    (void)item;
    AddControl(control);
}

void KLayout::AddControl(KLayoutControl& control) {
    control.SetGap(0);
    AppendControl(control);
}

void KLayout::AppendControl(KLayoutControl& control) {
    if (m_defaultBorderX != -1) control.Properties().borderX = m_defaultBorderX;
    if (m_defaultBorderY != -1) control.Properties().borderY = m_defaultBorderY;
    control.SetOwnerLayout(this);
    m_controls.push_back(&control);
}

void KLayout::RemoveControl(KLayoutControl& control) {
    auto found = std::find(m_controls.begin(), m_controls.end(), &control);
    if (found == m_controls.end()) return;
    m_controls.erase(found);
    control.SetOwnerLayout(nullptr);
}

KLayoutRect KLayout::Arrange(KLayoutRect rect) { return rect; }

void KLayout::ComputeSize(KLayoutSizeState& state, const SizeComputer& computer) {
    (void)state, (void)computer;
}

void KLayout::MinimalSize(KLayoutSizeState& state) { ComputeSize(state, MinimalSizeComputer()); }
void KLayout::CurrentSize(KLayoutSizeState& state) { ComputeSize(state, CurrentSizeComputer()); }

void KLayout::SetDefaultBorders(int x, int y) noexcept {
    m_defaultBorderX = x;
    m_defaultBorderY = y;
}

int KLayout::Spacing() const noexcept {
    if (m_controls.empty()) return 0;
    return m_controls.front()->DefaultControlSpacing() + m_space;
}

bool KLayout::IsShown(const KLayoutControl& control) noexcept { return control.Visible(); }
