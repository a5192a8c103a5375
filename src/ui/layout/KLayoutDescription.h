#pragma once
#include <memory>

#include "foundation/text/KString.h"
#include "ui/layout/KLayoutControl.h"

class KXMLItem;

// A window described in XML and laid out by its layouts:
//
//   <editor sizex="480" sizey="320" controlspacing="4">
//     <layout kind="top" layoutspace="2">
//       <control name="title" sizex="200" sizey="24" layoutratiox="1"/>
//     </layout>
//     <layout kind="vertical">
//       <control name="panel" layoutratioy="1">
//         <layout kind="horizontal"> ... </layout>
//       </control>
//     </layout>
//   </editor>
//
// The root element is the window (any name); "controlspacing" is its
// style's spacing between neighbouring controls (default 4). Each "layout"
// element adds a layout to the control it stands in, in arrangement order;
// its "kind" is one of "left", "top", "right", "bottom", "side" (with
// "direction" 0 to 3), "horizontal", "vertical", "switch", "border", "grid"
// and "corner". Each "control" element inside a layout is a child of that
// control placed by that layout, and may hold layouts of its own. A control
// with "plasticarea" is plastic: it keeps about that many pixels, so its
// height follows from its width like wrapping text.
class KLayoutDescription {
public:
    // Raises KException with the layouts' own messages on a bad description
    // and "Unknown layout kind "{0}"." for a kind it does not know.
    static std::unique_ptr<KLayoutControl> Load(const KXMLItem& root);
    static std::unique_ptr<KLayoutControl> LoadFile(const KString& path);
};
