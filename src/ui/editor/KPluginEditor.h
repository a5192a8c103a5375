#pragma once
#include <cstdint>
#include <memory>

#include "ui/window/KUiEvents.h"

class KAudioEffectPluginToAudioPluginAdapter;

// The plug-in's editor as the host bridges drive it: made on demand, opened
// into the host's window, pumped from the host's idle calls or run loop,
// closed again. Builds for a window system without an editor of ours make
// none (MakePluginEditor answers null) and the bridges declare none.
class KPluginEditor {
public:
    virtual ~KPluginEditor() = default;

    // Makes the editor's controls; true when this call made them.
    virtual bool Create() = 0;
    virtual bool Exists() const noexcept = 0;
    // Closes the window and drops the controls.
    virtual void Destroy() = 0;

    virtual int Width() const noexcept = 0;
    virtual int Height() const noexcept = 0;
    virtual int MinimalWidth() const noexcept = 0;
    virtual int MinimalHeight() const noexcept = 0;

    // Opens the window inside the host's window `parent`.
    virtual void Open(std::uint64_t parent) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const noexcept = 0;
    virtual void Idle() = 0;
    // True when the editor used the key.
    virtual bool Key(const KKeyEvent& event) = 0;
    virtual void Resize(int width, int height) = 0;
    // The window system connection's file descriptor, -1 while closed.
    virtual int ConnectionFd() const noexcept = 0;
    virtual bool ShiftHeld() const noexcept = 0;
};

// The editor of this build for `plugin`, or null when the build has none.
std::unique_ptr<KPluginEditor> MakePluginEditor(KAudioEffectPluginToAudioPluginAdapter& plugin);
