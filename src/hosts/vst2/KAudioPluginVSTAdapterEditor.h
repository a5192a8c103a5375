#pragma once
#include "hosts/vst2/KAudioPluginVSTAdapter.h"

namespace Vst2 {

// The editor side of the effect: rectangle, opening in the host's window,
// idle ticks and keys, over the plug-in's editor window.
class KAudioPluginVSTAdapter::KEditor {
public:
    KEditor(KAudioPluginVSTAdapter& adapter, std::unique_ptr<KEditorWindow> window) noexcept;

    // Points `rect` at the editor's size; false when there is no editor.
    bool getRect(ERect** rect);
    bool open(void* parent);
    void close();
    void idle();
    void update() {}
    VstInt32 onKeyDown(VstInt32 character, VstInt32 virtualKey);
    VstInt32 onKeyUp(VstInt32 character, VstInt32 virtualKey);

    KEditorWindow& Window() noexcept { return *m_window; }

private:
    bool EnsureCreated();

    KAudioPluginVSTAdapter& m_adapter;
    std::unique_ptr<KEditorWindow> m_window;
};

}  // namespace Vst2
