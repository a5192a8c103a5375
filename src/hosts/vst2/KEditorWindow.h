#pragma once
#include <cstdint>

#include "plugin/core/KAudioPluginAdapter.h"

namespace Vst2 {

// What the VST 2.4 editor needs of the plug-in's editor window; the window
// system behind it is the user-interface framework's. A plug-in without an
// editor has no such object, and the bridge then declares no editor.
class KEditorWindow {
public:
    enum KeyEventKind { kKeyDown = 13, kKeyUp = 14, kCharacter = 15 };
    // Modifier state bit meaning that shift is held.
    static constexpr int kShiftModifier = 64;

    virtual ~KEditorWindow() = default;
    virtual bool Exists() const = 0;
    // Makes the editor; true when it was made by this call.
    virtual bool Create() = 0;
    // Finishes the set-up of an editor made by Create.
    virtual void CompleteSetUp() = 0;
    // The window's size in pixels, laid out first when not laid out yet.
    virtual KAudioPluginAdapter::EditorSize Size() = 0;
    virtual void Attach(void* parent) = 0;
    // Destroys the editor's contents and detaches it from its parent.
    virtual void Detach() = 0;
    virtual void SetShown(bool shown) = 0;
    virtual bool IsShown() const = 0;
    // One pass of the window system's pending work.
    virtual void Idle() = 0;
    // True when the editor used the event.
    virtual bool SendKey(KeyEventKind kind, int code) = 0;
    virtual int Modifiers() const = 0;
};

}  // namespace Vst2
