#include "ui/editor/KEditorFrame.h"

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "ui/editor/KHalvaneEditor.h"
#include "ui/window/KX11Window.h"

std::unique_ptr<KPluginEditor> MakePluginEditor(KAudioEffectPluginToAudioPluginAdapter& plugin) {
    return std::make_unique<KEditorFrame>(plugin);
}

KEditorFrame::KEditorFrame(KAudioEffectPluginToAudioPluginAdapter& plugin) noexcept : m_plugin(plugin) {}

KEditorFrame::~KEditorFrame() { Destroy(); }

bool KEditorFrame::Create() {
    if (m_editor) return false;
    m_editor = std::make_unique<KHalvaneEditor>(m_plugin);
    return true;
}

void KEditorFrame::Destroy() {
    Close();
    m_editor.reset();
}

int KEditorFrame::Width() const noexcept { return m_editor ? m_editor->Width() : 0; }
int KEditorFrame::Height() const noexcept { return m_editor ? m_editor->Height() : 0; }
int KEditorFrame::MinimalWidth() const noexcept { return m_editor ? m_editor->MinimalWidth() : 0; }
int KEditorFrame::MinimalHeight() const noexcept { return m_editor ? m_editor->MinimalHeight() : 0; }

void KEditorFrame::Open(std::uint64_t parent) {
    Create();
    Close();
    m_window = std::make_unique<KX11Window>(parent, m_editor->Width(), m_editor->Height(), *m_editor);
    m_plugin.SetEditorUpdateTarget(this);
}

void KEditorFrame::Close() {
    if (!m_window) return;
    m_plugin.SetEditorUpdateTarget(nullptr);
    m_window.reset();
}

// Every control is compared with the plug-in on each idle call anyway; the
// pending list and the marks are emptied so that the update thread stops
// asking until the next change.
void KEditorFrame::TakeParameterUpdates() {
    if (!m_updateRequested.exchange(false, std::memory_order_acq_rel)) return;
    m_plugin.TakePendingEditorUpdates(m_takenUpdates);
    for (int index = 0; index < m_plugin.GetParameterCount(); ++index) m_plugin.TakeEditorUpdate(index);
}

void KEditorFrame::Idle() {
    if (!m_window) return;
    TakeParameterUpdates();
    if (m_editor->Refresh()) m_window->Invalidate();
    m_window->ProcessEvents();
    // Input handled just now shows at once rather than on the next tick.
    if (m_editor->TakeRepaintRequest()) {
        m_window->Invalidate();
        m_window->ProcessEvents();
    }
}

bool KEditorFrame::Key(const KKeyEvent& event) {
    if (!m_editor || !m_editor->Key(event)) return false;
    if (m_window) m_window->Invalidate();
    return true;
}

void KEditorFrame::Resize(int width, int height) {
    if (!m_editor) return;
    m_editor->SetSize(width, height);
    if (m_window) m_window->Resize(m_editor->Width(), m_editor->Height());
}

int KEditorFrame::ConnectionFd() const noexcept { return m_window ? m_window->ConnectionFd() : -1; }
bool KEditorFrame::ShiftHeld() const noexcept { return m_window && m_window->ShiftHeld(); }
