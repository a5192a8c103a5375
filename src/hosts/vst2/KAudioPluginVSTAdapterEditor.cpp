#include "hosts/vst2/KAudioPluginVSTAdapterEditor.h"

#include "foundation/core/Guard.h"
#include "hosts/vst2/KVst2Keys.h"

namespace Vst2 {

namespace {

// Hosts keep the pointer they get, so the rectangle outlives the call; only
// getRect writes it, on the host's user-interface thread.
ERect g_editorRect{};

// A window this small has not been laid out yet; the host is told 0.
VstInt16 ReportedDimension(std::int32_t pixels) noexcept { return VstInt16(pixels < 5 ? 0 : pixels); }

}  // namespace

KAudioPluginVSTAdapter::KEditor::KEditor(KAudioPluginVSTAdapter& adapter,
                                         std::unique_ptr<KEditorWindow> window) noexcept
    : m_adapter(adapter), m_window(std::move(window)) {}

bool KAudioPluginVSTAdapter::KEditor::EnsureCreated() {
    if (m_window->Create()) m_window->CompleteSetUp();
    return m_window->Exists();
}

bool KAudioPluginVSTAdapter::KEditor::getRect(ERect** rect) {
    return KGuard::Run("KAudioPluginVSTAdapter::KEditor::getRect", false, [&] {
        if (!rect || !EnsureCreated()) return false;
        const KAudioPluginAdapter::EditorSize size = m_window->Size();
        g_editorRect = ERect{0, 0, ReportedDimension(size.height), ReportedDimension(size.width)};
        *rect = &g_editorRect;
        return true;
    });
}

bool KAudioPluginVSTAdapter::KEditor::open(void* parent) {
    return KGuard::Run("KAudioPluginVSTAdapter::KEditor::open", false, [&] {
        if (!EnsureCreated()) return false;
        m_window->Attach(parent);
        m_adapter.Plugin().SetEditorOpen(true);
        m_window->SetShown(true);
        return true;
    });
}

void KAudioPluginVSTAdapter::KEditor::close() {
    KGuard::Run("KAudioPluginVSTAdapter::KEditor::close", [&] {
        if (!m_window->Exists()) return;
        m_adapter.Plugin().SetEditorOpen(false);
        m_window->SetShown(false);
        m_window->Detach();
    });
}

void KAudioPluginVSTAdapter::KEditor::idle() {
    KGuard::Run("KAudioPluginVSTAdapter::KEditor::idle", [&] {
        m_adapter.Plugin().EditorIdle();
        m_window->Idle();
        update();
    });
}

VstInt32 KAudioPluginVSTAdapter::KEditor::onKeyDown(VstInt32 character, VstInt32 virtualKey) {
    return KGuard::Run("KAudioPluginVSTAdapter::KEditor::onKeyDown", 0, [&] {
        return ProcessVSTKeyDown(character, virtualKey, *m_window, true);
    });
}

VstInt32 KAudioPluginVSTAdapter::KEditor::onKeyUp(VstInt32 character, VstInt32 virtualKey) {
    return KGuard::Run("KAudioPluginVSTAdapter::KEditor::onKeyUp", 0, [&] {
        return ProcessVSTKeyDown(character, virtualKey, *m_window, false);
    });
}

}  // namespace Vst2
