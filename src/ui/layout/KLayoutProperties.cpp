#include "ui/layout/KLayoutProperties.h"

#include "foundation/xml/KXMLItem.h"

void KLayoutProperties::LoadFromXml(const KXMLItem& item) {
    auto integer = [&](const KString& name, int& value) { value = int(item.IntegerAttribute(name, value)); };
    auto flag = [&](const KString& name, bool& value) { value = item.BoolAttribute(name, value); };
    integer("posx", x);
    integer("posy", y);
    integer("sizex", width);
    integer("sizey", height);
    integer("minclientsizex", minimalClientWidth);
    integer("minclientsizey", minimalClientHeight);
    integer("layoutratiox", ratioX);
    integer("layoutratioy", ratioY);
    integer("layoutborderx", borderX);
    integer("layoutbordery", borderY);
    integer("layoutplacement", placement);
    flag("plastic", plastic);
    flag("collapsable", collapsable);
    flag("collapsed", collapsed);
    flag("visible", visible);
}
