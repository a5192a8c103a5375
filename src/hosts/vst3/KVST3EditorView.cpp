#include "hosts/vst3/KVST3EditorView.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "foundation/core/Guard.h"
#include "hosts/common/KHostedPlugin.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "ui/window/KUiEvents.h"

namespace {

// The editing keys among the VST 3 virtual keys (the same numbering as
// VST 2.4's) as the editor's key codes.
int EditingKey(vst3::int16 keyCode) noexcept {
    switch (keyCode) {
        case 1: return KKeyEvent::kBackspace;
        case 4:
        case 19: return KKeyEvent::kReturn;
        case 6: return KKeyEvent::kEscape;
        default: return 0;
    }
}

}  // namespace

KVST3EditorView::KVST3EditorView(KAudioPluginVST3Adapter& controller, KHostedPlugin& plugin)
    : m_controller(controller), m_plugin(plugin) {
    m_controller.addRef();
}

KVST3EditorView::~KVST3EditorView() {
    // A host that releases the view without removing it first still gets
    // the window closed.
    KGuard::Run("KVST3EditorView::~KVST3EditorView", [&] {
        if (m_plugin.IsEditorWindowOpen()) removed();
        Unregister();
        m_controller.ViewGone(this);
    });
    m_controller.release();
}

vst3::tresult KVST3EditorView::queryInterface(const char* iid, void** obj) {
    vst3::FUnknown* found = nullptr;
    if (iid && (KVST3::Is<vst3::FUnknown>(iid) || KVST3::Is<vst3::IPlugView>(iid)))
        found = static_cast<vst3::IPlugView*>(this);
    else if (iid && KVST3::Is<vst3::Linux::IEventHandler>(iid))
        found = static_cast<vst3::Linux::IEventHandler*>(this);
    else if (iid && KVST3::Is<vst3::Linux::ITimerHandler>(iid))
        found = static_cast<vst3::Linux::ITimerHandler*>(this);
    return KVST3::Answer(found, obj);
}

vst3::uint32 KVST3EditorView::release() {
    const vst3::uint32 left = m_references.Drop();
    if (left == 0) delete this;
    return left;
}

vst3::tresult KVST3EditorView::isPlatformTypeSupported(vst3::FIDString type) {
    return type && std::strcmp(type, kPlatformType) == 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult KVST3EditorView::attached(void* parent, vst3::FIDString type) {
    if (!parent || isPlatformTypeSupported(type) != vst3::kResultTrue) return vst3::kResultFalse;
    return KGuard::Run("KVST3EditorView::attached", vst3::kResultFalse, [&] {
        m_plugin.CreateEditor();
        m_plugin.OpenEditor(std::uint64_t(reinterpret_cast<std::uintptr_t>(parent)));
        m_plugin.SetEditorOpen(true);
        Register();
        return vst3::kResultOk;
    });
}

vst3::tresult KVST3EditorView::removed() {
    return KGuard::Run("KVST3EditorView::removed", vst3::kResultFalse, [&] {
        Unregister();
        m_plugin.SetEditorOpen(false);
        m_plugin.DestroyEditor();
        return vst3::kResultOk;
    });
}

void KVST3EditorView::Register() {
    if (m_runLoop || !m_frame) return;
    m_runLoop = KVST3::Query<vst3::Linux::IRunLoop>(m_frame);
    if (!m_runLoop) return;
    m_runLoop->registerEventHandler(this, m_plugin.EditorConnectionFd());
    m_runLoop->registerTimer(this, kTimerMs);
}

void KVST3EditorView::Unregister() {
    if (!m_runLoop) return;
    m_runLoop->unregisterEventHandler(this);
    m_runLoop->unregisterTimer(this);
    m_runLoop->release();
    m_runLoop = nullptr;
}

void KVST3EditorView::Idle() {
    KGuard::Run("KVST3EditorView::Idle", [&] {
        m_plugin.EditorIdle();
        m_plugin.IdleEditor();
    });
}

vst3::tresult KVST3EditorView::onKeyDown(vst3::char16 key, vst3::int16 keyCode, vst3::int16) {
    return KGuard::Run("KVST3EditorView::onKeyDown", vst3::kResultFalse, [&] {
        KKeyEvent event;
        event.code = EditingKey(keyCode);
        if (event.code == 0) event.character = char32_t(key);
        if (event.code == 0 && event.character < 32) return vst3::kResultFalse;
        return m_plugin.EditorKey(event) ? vst3::kResultTrue : vst3::kResultFalse;
    });
}

vst3::tresult KVST3EditorView::getSize(vst3::ViewRect* size) {
    if (!size) return vst3::kInvalidArgument;
    return KGuard::Run("KVST3EditorView::getSize", vst3::kResultFalse, [&] {
        m_plugin.CreateEditor();
        const auto editor = m_plugin.EditorSize();
        *size = vst3::ViewRect{0, 0, editor.width, editor.height};
        return vst3::kResultOk;
    });
}

vst3::tresult KVST3EditorView::onSize(vst3::ViewRect* newSize) {
    if (!newSize) return vst3::kInvalidArgument;
    return KGuard::Run("KVST3EditorView::onSize", vst3::kResultFalse, [&] {
        m_plugin.CreateEditor();
        m_plugin.ResizeEditor(newSize->right - newSize->left, newSize->bottom - newSize->top);
        return vst3::kResultOk;
    });
}

vst3::tresult KVST3EditorView::setFrame(vst3::IPlugFrame* frame) {
    // The frame lives as long as the view is attached; it is not counted.
    if (!frame) Unregister();
    m_frame = frame;
    return vst3::kResultOk;
}

// Any size from the minimum up: smaller ones are raised to it.
vst3::tresult KVST3EditorView::checkSizeConstraint(vst3::ViewRect* rect) {
    if (!rect) return vst3::kInvalidArgument;
    return KGuard::Run("KVST3EditorView::checkSizeConstraint", vst3::kResultFalse, [&] {
        m_plugin.CreateEditor();
        const auto minimal = m_plugin.EditorMinimalSize();
        rect->right = rect->left + std::max(rect->right - rect->left, minimal.width);
        rect->bottom = rect->top + std::max(rect->bottom - rect->top, minimal.height);
        return vst3::kResultTrue;
    });
}

bool KVST3EditorView::RequestSize(int width, int height) {
    if (!m_frame) return false;
    vst3::ViewRect rect{0, 0, width, height};
    return m_frame->resizeView(this, &rect) == vst3::kResultTrue;
}
