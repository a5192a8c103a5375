#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "plugin/core/KAudioPlugin.h"

#include "ui/editor/KPluginEditor.h"

class KAudioEffectPluginToAudioPluginAdapter;
class KHalvaneEditor;
class KX11Window;

// The X11 editor. Closing destroys the window and its display connection;
// the editor's controls go with Destroy. While open it is the plug-in's
// editor-update target: the automation-update thread only raises a flag, and
// the next idle call, on the user-interface thread, takes the pending updates.
class KEditorFrame : public KPluginEditor, public KEditorUpdateTarget {
public:
    explicit KEditorFrame(KAudioEffectPluginToAudioPluginAdapter& plugin) noexcept;
    ~KEditorFrame();

    bool Create() override;
    bool Exists() const noexcept override { return m_editor != nullptr; }
    void Destroy() override;

    int Width() const noexcept override;
    int Height() const noexcept override;
    int MinimalWidth() const noexcept override;
    int MinimalHeight() const noexcept override;

    // `parent` is the host's X11 window.
    void Open(std::uint64_t parent) override;
    void Close() override;
    bool IsOpen() const noexcept override { return m_window != nullptr; }
    void Idle() override;
    bool Key(const KKeyEvent& event) override;
    void Resize(int width, int height) override;
    int ConnectionFd() const noexcept override;
    bool ShiftHeld() const noexcept override;
    KHalvaneEditor* Editor() const noexcept { return m_editor.get(); }

    void RequestParameterUpdate() override { m_updateRequested.store(true, std::memory_order_release); }

private:
    void TakeParameterUpdates();

    KAudioEffectPluginToAudioPluginAdapter& m_plugin;
    std::atomic<bool> m_updateRequested{false};
    std::vector<KAudioPlugin::AutomationAdapter*> m_takenUpdates;
    std::unique_ptr<KHalvaneEditor> m_editor;
    std::unique_ptr<KX11Window> m_window;
};
