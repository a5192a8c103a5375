#pragma once
#include "hosts/vst3/KVST3Unknown.h"
#include "hosts/vst3/abi/Vst3View.h"

class KAudioPluginVST3Adapter;
class KHostedPlugin;

// The editor as a VST 3 view for "X11EmbedWindowID" parents. The window is
// pumped from the host's run loop (found through the plug frame): an event
// handler on the window's display connection and a timer for the
// plug-in's own updates; no thread of ours touches X. The view holds a
// reference on the controller that made it, so the plug-in outlives it.
class KVST3EditorView final : public vst3::IPlugView,
                              public vst3::Linux::IEventHandler,
                              public vst3::Linux::ITimerHandler {
public:
    static constexpr const char* kPlatformType = "X11EmbedWindowID";
    // The idle period when the host runs no event loop of ours faster.
    static constexpr vst3::Linux::TimerInterval kTimerMs = 30;

    KVST3EditorView(KAudioPluginVST3Adapter& controller, KHostedPlugin& plugin);

    // FUnknown
    vst3::tresult VST3_API queryInterface(const char* iid, void** obj) override;
    vst3::uint32 VST3_API addRef() override { return m_references.Add(); }
    vst3::uint32 VST3_API release() override;

    // IPlugView
    vst3::tresult VST3_API isPlatformTypeSupported(vst3::FIDString type) override;
    vst3::tresult VST3_API attached(void* parent, vst3::FIDString type) override;
    vst3::tresult VST3_API removed() override;
    vst3::tresult VST3_API onWheel(float) override { return vst3::kResultFalse; }
    vst3::tresult VST3_API onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16 modifiers) override;
    vst3::tresult VST3_API onKeyUp(vst3::char16, vst3::int16, vst3::int16) override { return vst3::kResultFalse; }
    vst3::tresult VST3_API getSize(vst3::ViewRect* size) override;
    vst3::tresult VST3_API onSize(vst3::ViewRect* newSize) override;
    vst3::tresult VST3_API onFocus(vst3::TBool) override { return vst3::kResultOk; }
    vst3::tresult VST3_API setFrame(vst3::IPlugFrame* frame) override;
    vst3::tresult VST3_API canResize() override { return vst3::kResultTrue; }
    vst3::tresult VST3_API checkSizeConstraint(vst3::ViewRect* rect) override;

    // Linux run loop
    void VST3_API onFDIsSet(vst3::Linux::FileDescriptor) override { Idle(); }
    void VST3_API onTimer() override { Idle(); }

    // The plug-in asks for another size: the frame resizes the host's
    // window, which then calls onSize; false when the host refused.
    bool RequestSize(int width, int height);

private:
    ~KVST3EditorView();
    void Idle();
    void Register();
    void Unregister();

    KVST3RefCount m_references;
    KAudioPluginVST3Adapter& m_controller;
    KHostedPlugin& m_plugin;
    vst3::IPlugFrame* m_frame = nullptr;
    vst3::Linux::IRunLoop* m_runLoop = nullptr;
};
