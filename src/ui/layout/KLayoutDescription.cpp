#include "ui/layout/KLayoutDescription.h"

#include <algorithm>
#include <cstdint>

#include "foundation/core/KException.h"
#include "foundation/streams/KStdFileStream.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutClient.h"
#include "ui/layout/KLayoutCorner.h"
#include "ui/layout/KLayoutGrid.h"
#include "ui/layout/KLayoutNumber.h"
#include "ui/layout/KLayoutOccupyBorder.h"
#include "ui/layout/KLayoutSide.h"
#include "ui/layout/KLayoutSwitch.h"

namespace {

constexpr int kDefaultControlSpacing = 4;

// A control that keeps a fixed area: the extent on one axis follows from
// the other, rounded up.
class KAreaControl : public KLayoutControl {
public:
    KAreaControl(KString name, int area) : KLayoutControl(std::move(name)), m_area(area) {}
    int ComputePlasticSize(KAxis, int otherClientExtent) override {
        return otherClientExtent > 0 ? (m_area + otherClientExtent - 1) / otherClientExtent : m_area;
    }

private:
    int m_area;
};

// Any number outside 0..3 is refused when the side is laid out; clamping
// first keeps a huge number from wrapping into a valid direction.
int SideDirection(const KXMLItem& item) {
    return int(std::clamp<std::int64_t>(item.IntegerAttribute("direction", 0), -1, 4));
}

std::unique_ptr<KLayout> MakeLayout(KLayoutControl& owner, const KString& kind, const KXMLItem& item) {
    if (kind.EqualsNoCase("left")) return std::make_unique<KLayoutLeft>(owner);
    if (kind.EqualsNoCase("top")) return std::make_unique<KLayoutTop>(owner);
    if (kind.EqualsNoCase("right")) return std::make_unique<KLayoutRight>(owner);
    if (kind.EqualsNoCase("bottom")) return std::make_unique<KLayoutBottom>(owner);
    if (kind.EqualsNoCase("side")) return std::make_unique<KLayoutSide>(owner, SideDirection(item));
    if (kind.EqualsNoCase("horizontal")) return std::make_unique<KLayoutHorizontal>(owner);
    if (kind.EqualsNoCase("vertical")) return std::make_unique<KLayoutVertical>(owner);
    if (kind.EqualsNoCase("switch")) return std::make_unique<KLayoutSwitch>(owner);
    if (kind.EqualsNoCase("border")) return std::make_unique<KLayoutOccupyBorder>(owner);
    if (kind.EqualsNoCase("grid")) return std::make_unique<KLayoutGrid>(owner);
    if (kind.EqualsNoCase("corner")) return std::make_unique<KLayoutCorner>(owner);
    throw KException(KFormatter("Unknown layout kind \"{0}\".") << kind);
}

std::unique_ptr<KLayoutControl> MakeControl(const KXMLItem& item) {
    const KString name = item.Attribute("name", KString());
    const int area = ReadLayoutNumber(item, "plasticarea", 0, KLayoutNumber::Area);
    std::unique_ptr<KLayoutControl> control =
        area > 0 ? std::make_unique<KAreaControl>(name, area) : std::make_unique<KLayoutControl>(name);
    control->Properties().LoadFromXml(item);
    if (area > 0) control->Properties().plastic = true;
    return control;
}

void LoadLayouts(KLayoutControl& owner, const KXMLItem& item);

void LoadLayout(KLayoutControl& owner, const KXMLItem& item) {
    KLayout& layout = owner.AddLayout(MakeLayout(owner, item.Attribute("kind", KString()), item));
    layout.LoadFromXml(item);
    for (KXMLItem::Iterator it(item, "control"); const KXMLItem* entry = it.Next();) {
        KLayoutControl& control = owner.AddChild(MakeControl(*entry));
        layout.AddControlFromXml(control, *entry);
        LoadLayouts(control, *entry);
    }
}

void LoadLayouts(KLayoutControl& owner, const KXMLItem& item) {
    for (KXMLItem::Iterator it(item, "layout"); const KXMLItem* entry = it.Next();) LoadLayout(owner, *entry);
}

void CheckCornerTargets(const KLayoutControl& control) {
    for (int i = 0; i < control.LayoutCount(); ++i)
        if (auto* corner = dynamic_cast<const KLayoutCorner*>(&control.Layout(i))) corner->CheckTargets();
    for (int i = 0; i < control.ChildCount(); ++i) CheckCornerTargets(control.Child(i));
}

}  // namespace

std::unique_ptr<KLayoutControl> KLayoutDescription::Load(const KXMLItem& root) {
    auto window = MakeControl(root);
    window->SetDefaultControlSpacing(ReadLayoutNumber(root, "controlspacing", kDefaultControlSpacing, KLayoutNumber::Extent));
    LoadLayouts(*window, root);
    CheckCornerTargets(*window);
    return window;
}

std::unique_ptr<KLayoutControl> KLayoutDescription::LoadFile(const KString& path) {
    KStdFileStream file;
    file.Open(path, KStdFileStream::OpenRead);
    KXMLDocument document;
    document.Parse(file);
    return Load(document.Root());
}
