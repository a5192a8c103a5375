#include "ui/layout/KLayoutProperties.h"

#include "foundation/xml/KXMLItem.h"
#include "ui/layout/KLayoutNumber.h"

void KLayoutProperties::LoadFromXml(const KXMLItem& item) {
    auto extent = [&](const KString& name, int& value) { value = ReadLayoutNumber(item, name, value, KLayoutNumber::Extent); };
    auto ratio = [&](const KString& name, int& value) { value = ReadLayoutNumber(item, name, value, KLayoutNumber::Ratio); };
    auto flag = [&](const KString& name, bool& value) { value = item.BoolAttribute(name, value); };
    extent("posx", x);
    extent("posy", y);
    extent("sizex", width);
    extent("sizey", height);
    extent("minclientsizex", minimalClientWidth);
    extent("minclientsizey", minimalClientHeight);
    ratio("layoutratiox", ratioX);
    ratio("layoutratioy", ratioY);
    extent("layoutborderx", borderX);
    extent("layoutbordery", borderY);
    placement = int(item.IntegerAttribute("layoutplacement", placement));  // bits: no arithmetic
    flag("plastic", plastic);
    flag("collapsable", collapsable);
    flag("collapsed", collapsed);
    flag("visible", visible);
}
