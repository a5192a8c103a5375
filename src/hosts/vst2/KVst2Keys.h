#pragma once
#include "hosts/vst2/KEditorWindow.h"

namespace Vst2 {

// The editor's key code for a VST virtual key; 0 for keys the editor does
// not know.
int TranslateVirtualKey(int virtualKey) noexcept;

// A key from effEditKeyDown / effEditKeyUp (`character` is 0 for virtual
// keys) passed to the editor as key and character events; 1 when the
// editor used it.
int ProcessVSTKeyDown(int character, int virtualKey, KEditorWindow& window, bool down);

}  // namespace Vst2
