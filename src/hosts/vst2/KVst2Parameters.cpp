// Parameters by host index, values normalised 0..1.
#include "foundation/core/Guard.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/KVst2Text.h"

namespace Vst2 {

// Indexes outside the parameters reach nothing: the plug-in would take
// them as its nearest parameter.
bool KAudioPluginVSTAdapter::IsParameter(VstInt32 index) const noexcept {
    return index >= 0 && index < m_effect.numParams;
}

void KAudioPluginVSTAdapter::setParameter(VstInt32 index, float value) {
    KGuard::Run("KAudioPluginVSTAdapter::setParameter", [&] {
        // The host echoing the value being sent is not a change.
        if (!IsParameter(index) || IsSendingAutomationHere()) return;
        m_plugin->SetParameter(index, double(value));
    });
}

float KAudioPluginVSTAdapter::getParameter(VstInt32 index) {
    return KGuard::Run("KAudioPluginVSTAdapter::getParameter", 0.0f,
                       [&] { return IsParameter(index) ? float(m_plugin->Parameter(index)) : 0.0f; });
}

// Texts that fail reach the host empty.
void KAudioPluginVSTAdapter::getParameterName(VstInt32 index, char* text) {
    CopyHostText(KString(), text, 1);
    KGuard::Run("KAudioPluginVSTAdapter::getParameterName", [&] {
        if (!IsParameter(index)) return;
        CopyHostText(m_plugin->ParameterID(index).Substring(0, kParameterTextLength), text,
                     kParameterTextLength + 1);
    });
}

void KAudioPluginVSTAdapter::getParameterDisplay(VstInt32 index, char* text) {
    CopyHostText(KString(), text, 1);
    KGuard::Run("KAudioPluginVSTAdapter::getParameterDisplay", [&] {
        if (!IsParameter(index)) return;
        CopyHostText(m_plugin->ParameterValueText(index), text, kParameterTextLength + 1);
    });
}

void KAudioPluginVSTAdapter::getParameterLabel(VstInt32 index, char* text) {
    CopyHostText(KString(), text, 1);
    KGuard::Run("KAudioPluginVSTAdapter::getParameterLabel", [&] {
        if (!IsParameter(index)) return;
        CopyHostText(m_plugin->ParameterUnits(index), text, kParameterTextLength + 1);
    });
}

}  // namespace Vst2
