#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "plugin/core/KAudioPlugin.h"

#include "ui/window/KUiEvents.h"

class KAudioEffectPluginToAudioPluginAdapter;
class KHalvaneEditor;
class KX11Window;

// The editor as a host shows it: made on demand, opened into the host's
// window, pumped from the host's idle calls or run loop, closed again.
// Closing destroys the window and its display connection; the editor's
// controls go with Destroy. While open it is the plug-in's editor-update
// target: the automation-update thread only raises a flag, and the next
// idle call, on the user-interface thread, takes the pending updates.
class KEditorFrame : public KEditorUpdateTarget {
public:
    explicit KEditorFrame(KAudioEffectPluginToAudioPluginAdapter& plugin) noexcept;
    ~KEditorFrame();

    // Makes the editor's controls; true when this call made them.
    bool Create();
    bool Exists() const noexcept { return m_editor != nullptr; }
    // Closes the window and drops the controls.
    void Destroy();

    int Width() const noexcept;
    int Height() const noexcept;
    int MinimalWidth() const noexcept;
    int MinimalHeight() const noexcept;

    // Opens the window inside the host's X11 window `parent`.
    void Open(std::uint64_t parent);
    void Close();
    bool IsOpen() const noexcept { return m_window != nullptr; }
    void Idle();
    // True when the editor used the key.
    bool Key(const KKeyEvent& event);
    void Resize(int width, int height);
    // -1 while closed.
    int ConnectionFd() const noexcept;
    bool ShiftHeld() const noexcept;
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
