#pragma once
#include "ui/layout/KLayoutGeometry.h"

class KXMLItem;

// The layout properties every control carries, read from the attributes of
// its XML description.
struct KLayoutProperties {
    // Placement bits: neither bit of an axis centres the control on it.
    static constexpr int kAlignLeft = 1;
    static constexpr int kAlignRight = 2;
    static constexpr int kAlignTop = 4;
    static constexpr int kAlignBottom = 8;

    int x = 0;  // "posx", "posy": top-left corner inside the parent
    int y = 0;
    int width = 0;  // "sizex", "sizey"
    int height = 0;
    int minimalClientWidth = 0;  // "minclientsizex", "minclientsizey"
    int minimalClientHeight = 0;
    int ratioX = 0;  // "layoutratiox", "layoutratioy": weights of the free space
    int ratioY = 0;
    int borderX = 0;  // "layoutborderx", "layoutbordery": margin inside the cell
    int borderY = 0;
    int placement = 0;  // "layoutplacement"
    bool plastic = false;
    bool collapsable = false;
    bool collapsed = false;
    bool visible = true;

    void LoadFromXml(const KXMLItem& item);

    int Ratio(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? ratioX : ratioY; }
    int Border(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? borderX : borderY; }
    int Size(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? width : height; }
    int Position(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? x : y; }
    int StartBit(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? kAlignLeft : kAlignTop; }
    int EndBit(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? kAlignRight : kAlignBottom; }
};
