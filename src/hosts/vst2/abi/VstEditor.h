#pragma once
// The editor rectangle and the virtual keys of effEditKeyDown / KeyUp.
#include "hosts/vst2/abi/VstEffect.h"

namespace Vst2 {

// Field order top, left, bottom, right.
struct ERect {
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};

static_assert(sizeof(ERect) == 8 && offsetof(ERect, bottom) == 4);

enum VstVirtualKey : VstInt32 {
    VKEY_BACK = 1,
    VKEY_TAB = 2,
    VKEY_RETURN = 4,
    VKEY_ESCAPE = 6,
    VKEY_SPACE = 7,
    VKEY_NEXT = 8,
    VKEY_END = 9,
    VKEY_HOME = 10,
    VKEY_LEFT = 11,
    VKEY_UP = 12,
    VKEY_RIGHT = 13,
    VKEY_DOWN = 14,
    VKEY_PAGEUP = 15,
    VKEY_PAGEDOWN = 16,
    VKEY_PRINT = 18,
    VKEY_ENTER = 19,
    VKEY_INSERT = 21,
    VKEY_DELETE = 22,
    VKEY_HELP = 23,
};

}  // namespace Vst2
