#include "hosts/vst2/KVst2EditorWindow.h"

#include <cstdint>

#include "ui/window/KUiEvents.h"

namespace Vst2 {

void KVst2EditorWindow::Attach(void* parent) {
    // On Linux the pointer carries the host's X11 window id.
    m_plugin.OpenEditor(std::uint64_t(reinterpret_cast<std::uintptr_t>(parent)));
}

bool KVst2EditorWindow::SendKey(KeyEventKind kind, int code) {
    KKeyEvent event;
    if (kind == kCharacter) event.character = char32_t(code);
    else if (kind == kKeyDown) event.code = code;
    else return false;
    return m_plugin.EditorKey(event);
}

}  // namespace Vst2
