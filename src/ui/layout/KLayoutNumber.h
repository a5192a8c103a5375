#pragma once
#include "foundation/text/KString.h"

class KXMLItem;

// Reads the numbers of a layout description. Each kind is held to a range
// no real window leaves, so that whatever a description says, the sums,
// shares and grid searches of a layout stay small and inside an int.
enum class KLayoutNumber {
    Extent,  // a position, size, border, space or spacing in pixels
    Ratio,   // a weight of the free space; a negative weight is no weight
    Count,   // columns, rows and spans of a grid
    Area,    // the client area a plastic control keeps, in square pixels
};

int ReadLayoutNumber(const KXMLItem& item, const KString& name, int defaultValue, KLayoutNumber kind);
