#pragma once
#include "hosts/common/KHostedPlugin.h"
#include "hosts/vst2/KEditorWindow.h"

namespace Vst2 {

// The plug-in's X11 editor behind the VST 2.4 editor opcodes: effEditOpen
// hands over the host's X11 window id, effEditIdle pumps the window.
class KVst2EditorWindow : public KEditorWindow {
public:
    explicit KVst2EditorWindow(KHostedPlugin& plugin) noexcept : m_plugin(plugin) {}

    bool Exists() const override { return m_plugin.EditorExists(); }
    bool Create() override { return m_plugin.CreateEditor(); }
    void CompleteSetUp() override {}
    KAudioPluginAdapter::EditorSize Size() override { return m_plugin.EditorSize(); }
    void Attach(void* parent) override;
    void Detach() override { m_plugin.DestroyEditor(); }
    void SetShown(bool shown) override { m_shown = shown; }
    bool IsShown() const override { return m_shown && m_plugin.IsEditorWindowOpen(); }
    void Idle() override { m_plugin.IdleEditor(); }
    bool SendKey(KeyEventKind kind, int code) override;
    int Modifiers() const override { return m_plugin.EditorShiftHeld() ? kShiftModifier : 0; }

private:
    KHostedPlugin& m_plugin;
    bool m_shown = false;
};

}  // namespace Vst2
