// What travels from the plug-in back to a VST 3 host.
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "hosts/vst3/KVST3EditorView.h"

// The flag keeps the host's echo of the value, arriving in a later block,
// from being applied as a new change while the edit is under way.
void KAudioPluginVST3Adapter::SendAutomation(std::int32_t index, double value) {
    vst3::IComponentHandler* handler = m_handler;
    if (index < 0 || index >= m_plugin->ParameterCount() || !handler) return;
    m_sendingAutomation = true;
    handler->performEdit(vst3::ParamID(index), value);
    m_sendingAutomation = false;
}

void KAudioPluginVST3Adapter::SendBypassAutomation(bool state) {
    vst3::IComponentHandler* handler = m_handler;
    if (!handler) return;
    m_sendingAutomation = true;
    handler->performEdit(kBypassID, state ? 1.0 : 0.0);
    m_sendingAutomation = false;
}

void KAudioPluginVST3Adapter::GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) {
    m_midiOut.Add(deltaFrames, midiData);
}

void KAudioPluginVST3Adapter::ReportLatency() {
    vst3::IComponentHandler* handler = m_handler;
    if (m_inSetActive || !handler) return;
    handler->restartComponent(vst3::kLatencyChanged);
}

void KAudioPluginVST3Adapter::ParametersChanged() {
    if (vst3::IComponentHandler* handler = m_handler) handler->restartComponent(vst3::kParamValuesChanged);
}

void KAudioPluginVST3Adapter::BeginEdit(std::int32_t index) {
    vst3::IComponentHandler* handler = m_handler;
    if (index >= 0 && index < m_plugin->ParameterCount() && handler) handler->beginEdit(vst3::ParamID(index));
}

void KAudioPluginVST3Adapter::EndEdit(std::int32_t index) {
    vst3::IComponentHandler* handler = m_handler;
    if (index >= 0 && index < m_plugin->ParameterCount() && handler) handler->endEdit(vst3::ParamID(index));
}

bool KAudioPluginVST3Adapter::ChangeEditorSize(EditorSize size) {
    return m_view && m_view->RequestSize(size.width, size.height);
}

void KAudioPluginVST3Adapter::ViewGone(KVST3EditorView* view) noexcept {
    if (m_view == view) m_view = nullptr;
}
